#include "app/working_directory_wait.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "ui/gbk.h"
#include "web/system_texts.h"

namespace shop {
namespace {

// How often the note looks whether the other process has let the lock go.
constexpr int kLookIntervalMs = 200;

}  // namespace

bool wait_for_working_directory(WorkingDirectoryLock& lock) {
  if (lock.try_lock()) {
    return true;
  }
  QDialog note;
  note.setObjectName(QString::fromUtf8(kDirectoryWaitName));
  note.setWindowTitle(from_gbk(kDirectoryInUseTitle));
  auto* layout = new QVBoxLayout(&note);
  auto* text = new QLabel(from_gbk(kDirectoryInUseNote), &note);
  text->setWordWrap(true);
  layout->addWidget(text);
  auto* quit = new QPushButton(from_gbk(kQuitButtonText), &note);
  layout->addWidget(quit, 0, Qt::AlignRight);
  QObject::connect(quit, &QPushButton::clicked, &note, &QDialog::reject);

  QTimer look;
  QObject::connect(&look, &QTimer::timeout, &note, [&] {
    if (lock.try_lock()) {
      note.accept();
    }
  });
  look.start(kLookIntervalMs);
  return note.exec() == QDialog::Accepted;
}

}  // namespace shop
