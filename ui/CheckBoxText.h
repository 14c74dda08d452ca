#pragma once

// A check box's text never wraps: a long translation at a large font sets a width wider than a
// small screen, and the dialog's body then scrolls sideways. Here the text goes to a label
// beside the box that wraps onto more lines where the row is narrower than the text.

class QCheckBox;
class QWidget;

namespace CheckBoxText {

// Moves the box's text into a word-wrapped label beside it, which a click toggles as the box's
// own text would; the box keeps its name, focus and state. The row holding both, to lay out in
// the box's place.
[[nodiscard]] QWidget *wrapped(QCheckBox *box);

} // namespace CheckBoxText
