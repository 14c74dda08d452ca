// Compiled only by the model_refuses_* tests, which expect this include to fail: model sees
// Qt Core alone.
#include LARK_PROBE_HEADER
