// The document types Limenta saves: plain text for a report, CSV for exported runs.
#pragma once

#include <QString>
#include <QStringList>

namespace limenta {

struct FileType {
    QString name;
    QStringList extensions;  // none: any file name will do
    QString typeCode;
    QString creatorCode;

    // The save dialog's filter for this type: "CSV files (*.csv)", "text (*)".
    [[nodiscard]] QString filter() const {
        return name + QStringLiteral(" (") +
               (extensions.isEmpty()
                    ? QStringLiteral("*")
                    : QStringLiteral("*.") + extensions.join(QStringLiteral(" *."))) +
               QLatin1Char(')');
    }
};

inline const FileType kTextFileType{
    QStringLiteral("text"), {}, QStringLiteral("TEXT"), QStringLiteral("R*ch")};
inline const FileType kCsvFileType{QStringLiteral("CSV files"),
                                   {QStringLiteral("csv")},
                                   QStringLiteral("TEXT"),
                                   QStringLiteral("R*ch")};

}  // namespace limenta
