#include "app/control_state_store.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

#include "app/control_state_rules.h"
#include "app/private_profile.h"
#include "lists/file_store.h"
#include "ui/control_text.h"
#include "ui/gbk.h"
#include "web/system_texts.h"

namespace shop {
namespace {

QString executable_file_path() {
  if (QCoreApplication::instance() != nullptr) {
    return QCoreApplication::applicationFilePath();
  }
  std::error_code error;
  return QString::fromStdString(std::filesystem::read_symlink("/proc/self/exe", error).native());
}

std::filesystem::path default_file_path() {
  const Text name = last_path_component(to_gbk(executable_file_path()));
  return working_directory_file("/" + from_gbk(name + ".ini").toStdString());
}

Text control_name(const QWidget* control) {
  return to_gbk(control->objectName());
}

bool is_edit_box(const QWidget* control) {
  return qobject_cast<const QLineEdit*>(control) != nullptr ||
         qobject_cast<const QPlainTextEdit*>(control) != nullptr;
}

Text state_text(bool on) {
  return on ? kTrueText : kFalseText;
}

void restore_content(const std::filesystem::path& file, const Text& section, QWidget* control) {
  set_control_text(
      control, read_profile_string(file, section, control_name(control), control_text(control)));
}

}  // namespace

ControlStateStore::ControlStateStore() : file_path_(default_file_path()) {}

void ControlStateStore::attach(const std::filesystem::path& file,
                               std::vector<QWidget*> controls_in_form_order) {
  file_path_ = file;
  controls_ = std::move(controls_in_form_order);
}

template <class Restore>
void ControlStateStore::restore_each(Restore restore) {
  restoring_ = true;
  for (QWidget* control : controls_) {
    restore(control);
  }
  restoring_ = false;
}

void ControlStateStore::restore_all() {
  restore_edit_boxes();
  restore_radio_buttons();
  restore_check_boxes();
  restore_combo_boxes();
}

void ControlStateStore::restore_edit_boxes() {
  restore_each([this](QWidget* control) {
    if (is_edit_box(control)) {
      restore_content(file_path_, kEditBoxSection, control);
    }
  });
}

void ControlStateStore::restore_combo_boxes() {
  restore_each([this](QWidget* control) {
    if (qobject_cast<QComboBox*>(control) != nullptr) {
      restore_content(file_path_, kComboBoxSection, control);
    }
  });
}

void ControlStateStore::restore_radio_buttons() {
  restore_each([this](QWidget* control) {
    auto* button = qobject_cast<QRadioButton*>(control);
    if (button == nullptr) {
      return;
    }
    const bool selected = text_to_bool(read_profile_string(
        file_path_, kRadioButtonSection, control_name(button), state_text(button->isChecked())));
    if (selected) {
      button->setChecked(true);
    } else {
      // An auto-exclusive radio button refuses to be cleared while it is the selected
      // one of its group.
      const bool exclusive = button->autoExclusive();
      button->setAutoExclusive(false);
      button->setChecked(false);
      button->setAutoExclusive(exclusive);
    }
  });
}

void ControlStateStore::restore_check_boxes() {
  restore_each([this](QWidget* control) {
    if (auto* box = qobject_cast<QCheckBox*>(control)) {
      box->setChecked(text_to_bool(read_profile_string(
          file_path_, kCheckBoxSection, control_name(box), state_text(box->isChecked()))));
    }
  });
}

void ControlStateStore::save_event_edit_box(const QWidget* control) {
  store_content(kEditBoxSection, control);
}

void ControlStateStore::save_event_combo_box(const QWidget* control) {
  store_content(kComboBoxSection, control);
}

void ControlStateStore::store_content(const Text& section, const QWidget* control) {
  if (!restoring_) {
    write_profile_string(file_path_, section, control_name(control),
                         single_line_value(control_text(control)));
  }
}

}  // namespace shop
