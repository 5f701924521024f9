#include "gui/report/output_window.h"

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

#include "core/files/whole_file.h"
#include "gui/platform/file_type.h"
#include "gui/report/report_printer.h"
#include "gui/widgets/cr_text_edit.h"
#include "gui/widgets/design.h"

namespace limenta {

Window4::Window4(QWidget* mainWindow, Dialogs& dialogs)
    : QWidget(mainWindow, Qt::Window), dialogs_(dialogs) {
    setObjectName(QStringLiteral("Window4"));
    setWindowTitle(QStringLiteral("Output"));
    setFixedSize(640, 480);
    setAttribute(Qt::WA_DeleteOnClose);

    EditField1 = new CrTextEdit(this);
    EditField1->setObjectName(QStringLiteral("EditField1"));
    EditField1->setGeometry(0, 0, 550, 480);
    EditField1->setFont(designFont(Face::Courier, 12));
    EditField1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    const QFont times12 = designFont(Face::Times, 12);
    const auto button = [&](const char* name, int top, const QString& caption) {
        auto* control = new QPushButton(caption, this);
        control->setObjectName(QLatin1String(name));
        control->setGeometry(562, top, 69, 20);
        control->setFont(times12);
        return control;
    };
    PushButton1 = button("PushButton1", 14, QStringLiteral("Print"));
    PushButton2 = button("PushButton2", 46, QStringLiteral("Save"));
    PushButton3 = button("PushButton3", 78, QStringLiteral("Close"));
    connect(PushButton1, &QPushButton::clicked, this, [this] { PushButton1_Action(); });
    connect(PushButton2, &QPushButton::clicked, this, [this] { PushButton2_Action(); });
    connect(PushButton3, &QPushButton::clicked, this, [this] { PushButton3_Action(); });

    // Beside the main window, not over it, as far as the screen allows.
    if (mainWindow != nullptr) {
        QPoint place = mainWindow->frameGeometry().topRight() + QPoint(8, 0);
        if (const QScreen* screen = mainWindow->screen()) {
            const QRect room = screen->availableGeometry();
            place.setX(std::max(room.left(), std::min(place.x(), room.right() - width())));
        }
        move(place);
    }
}

void Window4::PushButton1_Action() {
    QPrinter printer(QPrinter::HighResolution);
    if (!dialogs_.choosePrinter(printer)) {
        return;
    }
    printReport(EditField1->text(), printer);
}

void Window4::PushButton2_Action() {
    const QString fileName =
        dialogs_.saveFileName(this, QStringLiteral("Untitled.txt"), kTextFileType);
    if (fileName.isEmpty()) {
        return;
    }
    // Lines as every tool on this system reads them: a line feed for each carriage return.
    QString lines = EditField1->text();
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    // Whole or not at all: a full disk never leaves an empty report over an old one.
    const WriteOutcome outcome =
        writeWholeFile(QFile::encodeName(fileName).toStdString(), lines.toUtf8().toStdString(),
                       LinkPolicy::WriteTarget);
    if (outcome.written) {
        return;
    }
    dialogs_.message(this, QStringLiteral("Limenta could not save the report as %1: %2. The "
                                          "report is still here in the Output window.")
                               .arg(QDir::toNativeSeparators(fileName),
                                    QString::fromStdString(outcome.problem)));
}

void Window4::PushButton3_Action() {
    close();
}

}  // namespace limenta
