#include "ui/toolkit/menu_wnd.h"

#include "platform/debug.h"
#include "ui/toolkit/message_queue.h"
#include "ui/toolkit/paint_manager_ui.h"
#include "ui/toolkit/resource_manager.h"
#include "ui/toolkit/ui_parse.h"
#include "ui/toolkit/window_wnd.h"

#include <QAction>
#include <QFile>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QXmlStreamReader>

#include <algorithm>

namespace ui {
namespace {

std::vector<CMenuWnd*>& OpenMenus() {
    static std::vector<CMenuWnd*> menus;
    return menus;
}

std::string Translated(const std::string& text) {
    const std::string* translated = CResourceManager::GetInstance().GetText(text);
    return translated != nullptr ? *translated : text;
}

QString MenuStyle(const CDPI& dpi) {
    return QString(
               "QMenu { background: #1E2128; border: 1px solid #2E333D; border-radius: %1px; padding: %2px "
               "0; }"
               "QMenu::item { color: #E6E8EB; padding: %3px %4px %3px %4px; margin: 0 %2px; border-radius: "
               "%1px; }"
               "QMenu::item:selected { background: #0099FF; color: #FFFFFF; }"
               "QMenu::item:disabled { color: #5C6370; }"
               "QMenu::separator { height: 1px; background: #2E333D; margin: %2px %4px; }")
        .arg(dpi.Scale(4))
        .arg(dpi.Scale(4))
        .arg(dpi.Scale(8))
        .arg(dpi.Scale(16));
}

// Reads MenuElement children of the current element into the menu.
void ReadItems(QXmlStreamReader& xml, QMenu* menu) {
    while (xml.readNextStartElement()) {
        if (!EqualsNoCase(xml.name().toString().toStdString(), "MenuElement")) {
            xml.skipCurrentElement();
            continue;
        }
        const auto attributes = xml.attributes();
        if (ParseBool(attributes.value("line").toString().toStdString())) {
            menu->addSeparator();
            xml.skipCurrentElement();
            continue;
        }
        const std::string name = attributes.value("name").toString().toStdString();
        const std::string text = Translated(attributes.value("text").toString().toStdString());
        const bool enabled = !attributes.hasAttribute("enabled") ||
                             ParseBool(attributes.value("enabled").toString().toStdString());
        QMenu probe;
        ReadItems(xml, &probe);
        if (!probe.actions().isEmpty()) {
            QMenu* sub = menu->addMenu(QString::fromStdString(text));
            sub->setStyleSheet(menu->styleSheet());
            sub->setFont(menu->font());
            for (QAction* action : probe.actions()) {
                probe.removeAction(action);
                action->setParent(sub);
                sub->addAction(action);
            }
            sub->menuAction()->setObjectName(QString::fromStdString(name));
            continue;
        }
        QAction* action = menu->addAction(QString::fromStdString(text));
        action->setObjectName(QString::fromStdString(name));
        action->setData(attributes.value("userdata").toString());
        action->setEnabled(enabled);
    }
}

void CollectNames(const QMenu* menu, std::vector<std::string>& names) {
    for (const QAction* action : menu->actions()) {
        if (action->isSeparator()) {
            continue;
        }
        names.push_back(action->objectName().toStdString());
        if (action->menu() != nullptr) {
            CollectNames(action->menu(), names);
        }
    }
}

}  // namespace

CMenuWnd::CMenuWnd(HWND owner) : owner_(owner) {}

CMenuWnd::~CMenuWnd() {
    auto& menus = OpenMenus();
    menus.erase(std::remove(menus.begin(), menus.end(), this), menus.end());
    delete menu_.data();
}

CMenuWnd* CMenuWnd::CreateMenu(HWND owner, const std::string& skinFile, QPoint point, unsigned align,
                               int dpi) {
    std::string path = skinFile;
    std::replace(path.begin(), path.end(), '\\', '/');
    if (path.empty() || path.front() != '/') {
        path = CPaintManagerUI::GetResourcePath() + path;
    }
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        platform::DebugFormat("CMenuWnd: cannot open menu '%s'\n", path.c_str());
        return nullptr;
    }
    QXmlStreamReader xml(file.readAll());
    if (!xml.readNextStartElement()) {
        platform::DebugFormat("CMenuWnd: menu '%s' holds no element\n", path.c_str());
        return nullptr;
    }
    CDPI scale;
    scale.SetDPI(dpi);
    auto* wnd = new CMenuWnd(owner);
    QWidget* parent = owner != nullptr ? owner->GetWidget() : nullptr;
    wnd->menu_ = new QMenu(parent);
    QMenu* menu = wnd->menu_;
    menu->setStyleSheet(MenuStyle(scale));
    QFont font(QStringLiteral("Noto Sans"));
    font.setFamilies({QStringLiteral("Noto Sans"), QStringLiteral("Noto Sans CJK SC")});
    font.setPixelSize(scale.Scale(13));
    menu->setFont(font);
    ReadItems(xml, menu);
    QObject::connect(menu, &QMenu::triggered, [wnd](QAction* action) {
        auto* command = new CMenuCmd{action->objectName().toStdString(), action->text().toStdString(),
                                     action->data().toString().toStdString()};
        if (!PostMessage(wnd->owner_, WM_MENUCLICK, 0, reinterpret_cast<LPARAM>(command))) {
            delete command;
        }
    });
    QObject::connect(menu, &QMenu::aboutToHide, [wnd] {
        QMetaObject::invokeMethod(
            qApp, [wnd] { delete wnd; }, Qt::QueuedConnection);
    });
    OpenMenus().push_back(wnd);
    const QSize size = menu->sizeHint();
    if (align & eMenuAlignment_Right) {
        point.rx() -= size.width();
    }
    if (align & eMenuAlignment_Bottom) {
        point.ry() -= size.height();
    }
    menu->popup(point);
    return wnd;
}

void CMenuWnd::DestroyMenu() {
    const std::vector<CMenuWnd*> menus = OpenMenus();
    for (CMenuWnd* menu : menus) {
        menu->Close();
    }
}

const std::vector<CMenuWnd*>& CMenuWnd::GetOpenMenus() {
    return OpenMenus();
}

std::vector<std::string> CMenuWnd::GetItemNames() const {
    std::vector<std::string> names;
    if (menu_ != nullptr) {
        CollectNames(menu_, names);
    }
    return names;
}

void CMenuWnd::Close() {
    if (menu_ != nullptr && menu_->isVisible()) {
        menu_->hide();
        return;
    }
    delete this;
}

}  // namespace ui
