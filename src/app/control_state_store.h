#pragma once
// Saves and restores the input values of a window in an INI file: the content of
// edit boxes and combo boxes and the selected or ticked state of radio buttons and
// check boxes, one section per kind and one key per control, named after it.

#include <QWidget>
#include <filesystem>
#include <vector>

#include "web/text.h"

namespace shop {

// The main window's control-state file in the working directory (a native file name).
inline constexpr const char* kControlStateFile = "/排名.txt";

class ControlStateStore {
 public:
  // The default file: the working directory, then the executable's file name (its
  // extension kept) followed by ".ini".
  ControlStateStore();

  const std::filesystem::path& file_path() const { return file_path_; }

  // Serves the window whose input controls are `controls_in_form_order` and keeps
  // their states in `file`.
  void attach(const std::filesystem::path& file, std::vector<QWidget*> controls_in_form_order);

  // Edit boxes, radio buttons, check boxes, then combo boxes. A control without a key
  // keeps its state; nothing is written.
  void restore_all();
  void restore_edit_boxes();
  void restore_combo_boxes();
  void restore_radio_buttons();
  void restore_check_boxes();

  // Store the content of the edit box or combo box that raised the change event.
  // Changes made by a restore are not stored; a failed write is not reported.
  void save_event_edit_box(const QWidget* control);
  void save_event_combo_box(const QWidget* control);

 private:
  template <class Restore>
  void restore_each(Restore restore);
  void store_content(const Text& section, const QWidget* control);

  std::filesystem::path file_path_;
  std::vector<QWidget*> controls_;  // the window's input controls, in its control order
  bool restoring_ = false;
};

}  // namespace shop
