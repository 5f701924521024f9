#include "gui/platform/qt_platform.h"

#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

#include "gui/platform/file_type.h"

namespace limenta {

SystemClocks::SystemClocks() {
    elapsed_.start();
}

qint64 SystemClocks::ticks() {
    return elapsed_.elapsed() * 60 / 1000;
}

double SystemClocks::microseconds() {
    return static_cast<double>(elapsed_.nsecsElapsed()) / 1000.0;
}

QDateTime SystemClocks::currentDateTime() {
    return QDateTime::currentDateTime();
}

int QtDialogs::runModal(QDialog& dialog) {
    return dialog.exec();
}

QString QtDialogs::saveFileName(QWidget* parent, const QString& defaultName, const FileType& type) {
    return QFileDialog::getSaveFileName(parent, QString(), defaultName, type.filter());
}

bool QtDialogs::choosePrinter(QPrinter& printer) {
    // The default page set-up, attached to no window.
    QPrintDialog dialog(&printer, nullptr);
    return dialog.exec() == QDialog::Accepted;
}

void QtDialogs::message(QWidget* parent, const QString& text) {
    QMessageBox::information(parent, QStringLiteral("Limenta"), text);
}

bool QtDialogs::ask(QWidget* parent, const QString& text, const QString& yes, const QString& no) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Limenta"), text, QMessageBox::NoButton,
                    parent);
    QPushButton* accept = box.addButton(yes, QMessageBox::AcceptRole);
    box.setDefaultButton(box.addButton(no, QMessageBox::RejectRole));
    box.exec();
    return box.clickedButton() == accept;
}

}  // namespace limenta
