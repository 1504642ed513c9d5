#include "ui/control_text.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVariant>

#include "ui/gbk.h"

namespace shop {
namespace {

constexpr const char* kBytesProperty = "shop_text_bytes";
constexpr const char* kShownProperty = "shop_text_shown";

QString shown_text(const QWidget* control) {
  if (auto* edit = qobject_cast<const QLineEdit*>(control)) {
    return edit->text();
  }
  if (auto* edit = qobject_cast<const QPlainTextEdit*>(control)) {
    return edit->toPlainText();
  }
  if (auto* combo = qobject_cast<const QComboBox*>(control)) {
    return combo->currentText();
  }
  if (auto* button = qobject_cast<const QAbstractButton*>(control)) {
    return button->text();
  }
  if (auto* label = qobject_cast<const QLabel*>(control)) {
    return label->text();
  }
  if (auto* group = qobject_cast<const QGroupBox*>(control)) {
    return group->title();
  }
  return {};
}

}  // namespace

void show_control_text(QWidget* control, const QString& text) {
  if (auto* edit = qobject_cast<QLineEdit*>(control)) {
    edit->setText(text);
    edit->setCursorPosition(0);  // show the beginning of a long address, not its end
  } else if (auto* edit = qobject_cast<QPlainTextEdit*>(control)) {
    edit->setPlainText(text);
  } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
    combo->setCurrentText(text);
  } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
    button->setText(text);
  } else if (auto* label = qobject_cast<QLabel*>(control)) {
    label->setText(text);
  } else if (auto* group = qobject_cast<QGroupBox*>(control)) {
    group->setTitle(text);
  }
}

Text control_text(const QWidget* control) {
  const QString shown = shown_text(control);
  const QVariant remembered = control->property(kShownProperty);
  if (remembered.isValid() && remembered.toString() == shown) {
    const QByteArray bytes = control->property(kBytesProperty).toByteArray();
    return Text(bytes.constData(), static_cast<size_t>(bytes.size()));
  }
  return to_gbk(shown);
}

void set_control_text(QWidget* control, const Text& text) {
  const QString shown = from_gbk(text);
  // Remember the bytes before showing them, so that handlers of the change see them.
  control->setProperty(kBytesProperty,
                       QByteArray(text.data(), static_cast<qsizetype>(text.size())));
  control->setProperty(kShownProperty, shown);
  show_control_text(control, shown);
  // Widgets may normalise what they show (line breaks, for instance): remember that.
  control->setProperty(kShownProperty, shown_text(control));
}

}  // namespace shop
