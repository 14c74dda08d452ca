// Compiled only by the <layer>_refuses_* tests (lark_add_layer_probe), which expect this include
// to fail: the layer does not see that Qt module.
#include LARK_PROBE_HEADER
