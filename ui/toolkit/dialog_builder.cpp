#include "ui/toolkit/dialog_builder.h"

#include "platform/debug.h"
#include "ui/toolkit/container_ui.h"
#include "ui/toolkit/control_factory.h"
#include "ui/toolkit/paint_manager_ui.h"
#include "ui/toolkit/resource_manager.h"
#include "ui/toolkit/ui_parse.h"

#include <QFile>
#include <QXmlStreamReader>

#include <algorithm>

namespace ui {
namespace {

// Skins nest a few levels; a runaway include chain (a file including itself) stops here.
constexpr int kMaxIncludeDepth = 8;
constexpr int kMaxNesting = 256;

std::string Attribute(const QXmlStreamReader& xml, const char* name) {
    return xml.attributes().value(QLatin1String(name)).toString().toStdString();
}

bool LoadSource(const std::string& source, QByteArray& data) {
    if (!source.empty() && source.front() == '<') {
        data = QByteArray::fromStdString(source);
        return true;
    }
    std::string file = CResourceManager::GetInstance().GetXmlPath(source);
    if (file.empty()) {
        file = source;
    }
    std::replace(file.begin(), file.end(), '\\', '/');
    const std::string path = file.front() == '/' ? file : CPaintManagerUI::GetResourcePath() + file;
    QFile input(QString::fromStdString(path));
    if (!input.open(QIODevice::ReadOnly)) {
        platform::DebugFormat("CDialogBuilder: cannot open skin '%s'\n", path.c_str());
        return false;
    }
    data = input.readAll();
    return true;
}

}  // namespace

CControlUI* CDialogBuilder::Create(const std::string& source, const std::string&,
                                   IDialogBuilderCallback* callback, CPaintManagerUI* manager,
                                   CControlUI* parent) {
    return Create(source, callback, manager, parent);
}

CControlUI* CDialogBuilder::Create(const std::string& source, IDialogBuilderCallback* callback,
                                   CPaintManagerUI* manager, CControlUI* parent) {
    if (source.empty()) {
        return nullptr;
    }
    QByteArray data;
    if (!LoadSource(source, data)) {
        return nullptr;
    }
    callback_ = callback;
    manager_ = manager;
    QXmlStreamReader xml(data);
    while (!xml.atEnd() && !xml.isStartElement()) {
        xml.readNext();
    }
    if (!xml.isStartElement()) {
        platform::DebugFormat("CDialogBuilder: '%s' holds no element\n", source.substr(0, 80).c_str());
        return nullptr;
    }
    CControlUI* root = nullptr;
    auto* container =
        parent != nullptr ? static_cast<CContainerUI*>(parent->GetInterface("Container")) : nullptr;
    const bool isWindow = EqualsNoCase(xml.name().toString().toStdString(), "Window");
    if (isWindow) {
        ApplyWindowAttributes(xml);
        root = ParseChildren(xml, parent, 0);
    } else {
        root = ParseElement(xml, parent, 0);
    }
    if (xml.hasError()) {
        platform::DebugFormat("CDialogBuilder: malformed skin '%s': %s (line %lld)\n",
                              source.substr(0, 80).c_str(), xml.errorString().toStdString().c_str(),
                              static_cast<long long>(xml.lineNumber()));
        if (root != nullptr && (container == nullptr || container->GetItemIndex(root) < 0)) {
            delete root;
        }
        return nullptr;
    }
    return root;
}

CControlUI* CDialogBuilder::CreateElement(const std::string& name) {
    const CControlFactory& factory = CControlFactory::GetInstance();
    if (CControlUI* control = factory.CreateBuiltin(name)) {
        return control;
    }
    if (callback_ != nullptr) {
        if (CControlUI* control = callback_->CreateControl(name)) {
            return control;
        }
    }
    return factory.CreateControl(name);
}

void CDialogBuilder::ApplyWindowAttributes(QXmlStreamReader& xml) {
    if (manager_ == nullptr) {
        return;
    }
    for (const QXmlStreamAttribute& attribute : xml.attributes()) {
        const std::string name = ToLower(attribute.name().toString().toStdString());
        const std::string value = attribute.value().toString().toStdString();
        if (name == "size") {
            manager_->SetInitSize(ParseSize(value));
        } else if (name == "caption") {
            manager_->SetCaptionRect(ParseRect(value));
        } else if (name == "mininfo") {
            manager_->SetMinInfo(ParseSize(value));
        }
    }
}

void CDialogBuilder::ApplyFont(QXmlStreamReader& xml) {
    if (manager_ == nullptr) {
        return;
    }
    const int id = ParseInt(Attribute(xml, "id"), -1);
    const std::string family = Attribute(xml, "name");
    const int size = ParseInt(Attribute(xml, "size"), 12);
    const bool bold = ParseBool(Attribute(xml, "bold"));
    const bool underline = ParseBool(Attribute(xml, "underline"));
    const bool italic = ParseBool(Attribute(xml, "italic"));
    if (ParseBool(Attribute(xml, "default"))) {
        manager_->SetDefaultFont(family, size, bold);
    }
    if (id >= 0) {
        manager_->AddFont(id, family, size, bold, underline, italic, ParseBool(Attribute(xml, "shared")));
    }
}

void CDialogBuilder::ApplyDefault(QXmlStreamReader& xml) {
    if (manager_ != nullptr) {
        manager_->AddDefaultAttributeList(ToLower(Attribute(xml, "name")), Attribute(xml, "value"));
    }
}

CControlUI* CDialogBuilder::ParseChildren(QXmlStreamReader& xml, CControlUI* parent, int depth) {
    const bool hasContainer = parent != nullptr && parent->GetInterface("Container") != nullptr;
    CControlUI* first = nullptr;
    while (xml.readNextStartElement()) {
        CControlUI* control = ParseElement(xml, parent, depth);
        if (first == nullptr) {
            first = control;
        } else if (control != nullptr && !hasContainer) {
            // Without a container to hold them only the first root can be returned.
            platform::DebugOutput("CDialogBuilder: extra root element dropped\n");
            delete control;
        }
    }
    return first;
}

CControlUI* CDialogBuilder::ParseElement(QXmlStreamReader& xml, CControlUI* parent, int depth) {
    auto* container =
        parent != nullptr ? static_cast<CContainerUI*>(parent->GetInterface("Container")) : nullptr;
    const std::string element = xml.name().toString().toStdString();
    const std::string lower = ToLower(element);
    if (lower == "font") {
        ApplyFont(xml);
        xml.skipCurrentElement();
        return nullptr;
    }
    if (lower == "default") {
        ApplyDefault(xml);
        xml.skipCurrentElement();
        return nullptr;
    }
    if (lower == "image" || lower == "style" || lower == "window") {
        xml.skipCurrentElement();
        return nullptr;
    }
    if (lower == "include") {
        const std::string source = Attribute(xml, "source");
        const int count = std::clamp(ParseInt(Attribute(xml, "count"), 1), 1, 100);
        xml.skipCurrentElement();
        if (includeDepth_ >= kMaxIncludeDepth) {
            platform::DebugFormat("CDialogBuilder: include of '%s' nests too deep\n", source.c_str());
            return nullptr;
        }
        CControlUI* first = nullptr;
        for (int i = 0; i < count; ++i) {
            CDialogBuilder nested;
            nested.includeDepth_ = includeDepth_ + 1;
            CControlUI* included = nested.Create(source, callback_, manager_, parent);
            if (first == nullptr) {
                first = included;
            }
        }
        return first;
    }
    CControlUI* control = depth < kMaxNesting ? CreateElement(element) : nullptr;
    if (control == nullptr) {
        platform::DebugFormat("CDialogBuilder: no control class for element '%s'\n", element.c_str());
        xml.skipCurrentElement();
        return nullptr;
    }
    if (manager_ != nullptr) {
        const std::string defaults = manager_->GetDefaultAttributeList(ToLower(control->GetClass()));
        if (!defaults.empty()) {
            control->ApplyAttributeList(defaults);
        }
    }
    for (const QXmlStreamAttribute& attribute : xml.attributes()) {
        control->SetAttribute(attribute.name().toString().toStdString(),
                              attribute.value().toString().toStdString());
    }
    if (control->GetInterface("Container") != nullptr) {
        ParseChildren(xml, control, depth + 1);
    } else {
        xml.skipCurrentElement();
    }
    if (container != nullptr) {
        container->Add(control);
    }
    return control;
}

}  // namespace ui
