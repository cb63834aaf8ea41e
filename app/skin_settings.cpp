#include "app/skin_settings.h"

#include "profile/data_folders.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <cstdlib>

namespace app {
namespace {

constexpr const char kFileName[] = "main.ini";
const QString kSection = QStringLiteral("SKINIMAGE");

QStringList ReadLines(const std::string& file) {
    QFile in(QString::fromStdString(file));
    if (!in.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return {};
    }
    return QString::fromUtf8(in.readAll()).split('\n');
}

bool IsSectionLine(const QString& line) {
    const QString trimmed = line.trimmed();
    return trimmed.startsWith('[') && trimmed.endsWith(']');
}

bool IsSection(const QString& line, const QString& name) {
    return IsSectionLine(line) &&
           line.trimmed().mid(1, line.trimmed().size() - 2).trimmed().compare(name, Qt::CaseInsensitive) == 0;
}

// The key of a "key=value" line, "" for any other line.
QString KeyOf(const QString& line) {
    const qsizetype equals = line.indexOf('=');
    return equals > 0 && !IsSectionLine(line) ? line.left(equals).trimmed() : QString();
}

std::optional<QString> ValueIn(const QStringList& lines, const QString& key) {
    bool inSection = false;
    for (const QString& line : lines) {
        if (IsSectionLine(line)) {
            inSection = IsSection(line, kSection);
        } else if (inSection && KeyOf(line).compare(key, Qt::CaseInsensitive) == 0) {
            return line.mid(line.indexOf('=') + 1).trimmed();
        }
    }
    return std::nullopt;
}

// The lines with key set to value in the section, which is added when missing.
QStringList WithValue(QStringList lines, const QString& key, const QString& value) {
    const QString entry = key + '=' + value;
    qsizetype sectionEnd = -1;
    bool inSection = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (IsSectionLine(lines[i])) {
            if (inSection) {
                break;
            }
            inSection = IsSection(lines[i], kSection);
            sectionEnd = inSection ? i + 1 : sectionEnd;
        } else if (inSection) {
            if (KeyOf(lines[i]).compare(key, Qt::CaseInsensitive) == 0) {
                lines[i] = entry;
                return lines;
            }
            if (!lines[i].trimmed().isEmpty()) {
                sectionEnd = i + 1;
            }
        }
    }
    if (sectionEnd < 0) {
        while (!lines.isEmpty() && lines.last().trimmed().isEmpty()) {
            lines.removeLast();
        }
        lines << '[' + kSection + ']' << entry;
        return lines;
    }
    lines.insert(sectionEnd, entry);
    return lines;
}

}  // namespace

CSkinSettings::CSkinSettings(std::string file) : file_(file.empty() ? FilePath() : std::move(file)) {}

std::string CSkinSettings::FilePath() {
    return CDataFolders::ApplicationDataFolder() + kFileName;
}

std::optional<SSkinImage> CSkinSettings::Read() const {
    const QStringList lines = ReadLines(file_);
    const std::optional<QString> image = ValueIn(lines, QStringLiteral("IMAGE"));
    if (!image || image->isEmpty()) {
        return std::nullopt;
    }
    const std::optional<QString> flags = ValueIn(lines, QStringLiteral("FLAGS"));
    return SSkinImage{flags ? std::atoi(flags->toUtf8().constData()) : 0, image->toStdString()};
}

bool CSkinSettings::Write(const SSkinImage& choice) const {
    QStringList lines = ReadLines(file_);
    lines = WithValue(lines, QStringLiteral("FLAGS"), QString::number(choice.flags));
    lines = WithValue(lines, QStringLiteral("IMAGE"), QString::fromStdString(choice.image));
    while (!lines.isEmpty() && lines.last().isEmpty()) {
        lines.removeLast();
    }
    QSaveFile out(QString::fromStdString(file_));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Text)) {
        return false;
    }
    out.write((lines.join('\n') + '\n').toUtf8());
    return out.commit();
}

std::optional<std::string> CSkinSettings::RestorableImage(const SSkinImage& choice,
                                                          const std::string& skinFolder) {
    const QString image = QString::fromStdString(choice.image);
    const QFileInfo info(image);
    if (info.isAbsolute()) {
        return info.isFile() ? std::optional<std::string>(choice.image) : std::nullopt;
    }
    // A name from the file never reaches outside the skin folder.
    if (image.contains(QStringLiteral("..")) ||
        !QFileInfo(QString::fromStdString(skinFolder) + image).isFile()) {
        return std::nullopt;
    }
    return choice.image;
}

}  // namespace app
