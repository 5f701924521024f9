// The one document type Limenta registers: plain text, used when a report is saved.
#pragma once

#include <QString>
#include <QStringList>

namespace limenta {

struct FileType {
    QString name;
    QStringList extensions;  // none: any file name will do
    QString typeCode;
    QString creatorCode;

    // The save dialog's filter for this type.
    [[nodiscard]] QString filter() const { return name + QStringLiteral(" (*)"); }
};

inline const FileType kTextFileType{
    QStringLiteral("text"), {}, QStringLiteral("TEXT"), QStringLiteral("R*ch")};

}  // namespace limenta
