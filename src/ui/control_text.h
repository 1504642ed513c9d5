#pragma once
// Reading and writing the text of a control as GBK bytes.

#include <QWidget>

#include "web/text.h"

namespace shop {

// The text of an edit box, combo box, button, label or group box. A text set with
// set_control_text and not changed since comes back byte for byte, even where it is
// not valid GBK.
Text control_text(const QWidget* control);
void set_control_text(QWidget* control, const Text& text);

// Shows `text` in the control (its content, caption or title).
void show_control_text(QWidget* control, const QString& text);

}  // namespace shop
