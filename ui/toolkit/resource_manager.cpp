#include "ui/toolkit/resource_manager.h"

#include "platform/debug.h"
#include "ui/toolkit/paint_manager_ui.h"
#include "ui/toolkit/ui_parse.h"

#include <QFile>
#include <QXmlStreamReader>

namespace ui {
namespace {

std::string SkinPath(const std::string& file) {
    if (!file.empty() && file.front() == '/') {
        return file;
    }
    std::string path = CPaintManagerUI::GetResourcePath() + file;
    for (char& c : path) {
        if (c == '\\') {
            c = '/';
        }
    }
    return path;
}

bool ReadXml(const std::string& path, QByteArray& data) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        platform::DebugFormat("CResourceManager: cannot open %s\n", path.c_str());
        return false;
    }
    data = file.readAll();
    return true;
}

std::string Attribute(const QXmlStreamReader& xml, const char* name) {
    return xml.attributes().value(QLatin1String(name)).toString().toStdString();
}

}  // namespace

CResourceManager& CResourceManager::GetInstance() {
    static CResourceManager instance;
    return instance;
}

bool CResourceManager::LoadResource(const std::string& file) {
    QByteArray data;
    if (!ReadXml(SkinPath(file), data)) {
        return false;
    }
    std::map<std::string, std::string> xmlIds;
    std::map<std::string, std::string> imageIds;
    QXmlStreamReader xml(data);
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement()) {
            continue;
        }
        const std::string element = ToLower(xml.name().toString().toStdString());
        const std::string id = Attribute(xml, "id");
        const std::string path = Attribute(xml, "path");
        if (element == "xml" && !id.empty()) {
            xmlIds[id] = path;
        } else if (element == "image" && !id.empty()) {
            imageIds[id] = path;
        }
    }
    if (xml.hasError()) {
        platform::DebugFormat("CResourceManager: %s is not well-formed\n", file.c_str());
        return false;
    }
    xmlIds_ = std::move(xmlIds);
    imageIds_ = std::move(imageIds);
    return true;
}

std::string CResourceManager::GetXmlPath(const std::string& id) const {
    const auto it = xmlIds_.find(id);
    return it == xmlIds_.end() ? std::string() : it->second;
}

std::string CResourceManager::GetImagePath(const std::string& id) const {
    const auto it = imageIds_.find(id);
    return it == imageIds_.end() ? std::string() : it->second;
}

bool CResourceManager::LoadLanguage(const std::string& file) {
    QByteArray data;
    if (!ReadXml(SkinPath(file), data)) {
        return false;
    }
    std::map<std::string, std::string> table;
    QXmlStreamReader xml(data);
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement() || !EqualsNoCase(xml.name().toString().toStdString(), "text")) {
            continue;
        }
        std::string id = Attribute(xml, "id");
        if (id.empty()) {
            id = Attribute(xml, "name");
        }
        if (!id.empty()) {
            table[id] = Attribute(xml, "value");
        }
    }
    if (xml.hasError()) {
        platform::DebugFormat("CResourceManager: %s is not well-formed\n", file.c_str());
        return false;
    }
    languages_[file] = std::move(table);
    current_ = file;
    return true;
}

bool CResourceManager::SetLanguage(const std::string& file) {
    if (languages_.find(file) == languages_.end()) {
        return false;
    }
    current_ = file;
    return true;
}

const std::string* CResourceManager::GetText(const std::string& key) const {
    const auto table = languages_.find(current_);
    if (table == languages_.end()) {
        return nullptr;
    }
    const auto it = table->second.find(key);
    return it == table->second.end() ? nullptr : &it->second;
}

void CResourceManager::ReloadText() {
    CPaintManagerUI::ReloadAllText();
}

void CResourceManager::Release() {
    xmlIds_.clear();
    imageIds_.clear();
    languages_.clear();
    current_.clear();
}

}  // namespace ui
