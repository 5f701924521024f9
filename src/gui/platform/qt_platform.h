// The real platform: the system clocks and Qt's own dialogs.
#pragma once

#include <QElapsedTimer>

#include "gui/platform/platform.h"

namespace limenta {

class SystemClocks final : public Clocks {
  public:
    SystemClocks();
    qint64 ticks() override;
    double microseconds() override;
    QDateTime currentDateTime() override;

  private:
    QElapsedTimer elapsed_;
};

class QtDialogs final : public Dialogs {
  public:
    int runModal(QDialog& dialog) override;
    QString saveFileName(QWidget* parent, const QString& defaultName,
                         const FileType& type) override;
    bool choosePrinter(QPrinter& printer) override;
    void message(QWidget* parent, const QString& text) override;
    bool ask(QWidget* parent, const QString& text, const QString& yes, const QString& no) override;
};

}  // namespace limenta
