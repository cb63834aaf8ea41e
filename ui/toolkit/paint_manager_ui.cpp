#include "ui/toolkit/paint_manager_ui.h"

#include "platform/debug.h"
#include "ui/toolkit/container_ui.h"
#include "ui/toolkit/control_ui.h"
#include "ui/toolkit/resource_manager.h"

#include <QApplication>
#include <QFileInfo>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include <algorithm>

namespace ui {
namespace {

std::string& InstancePath() {
    static std::string path;
    return path;
}

std::string& ResourcePath() {
    static std::string path;
    return path;
}

int& ResourceType() {
    static int type = 1;
    return type;
}

std::vector<CPaintManagerUI*>& Managers() {
    static std::vector<CPaintManagerUI*> managers;
    return managers;
}

std::string NormalisedPath(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

// The variant of an image made for a scale: "name@150.png" beside "name.png".
std::string VariantPath(const std::string& path, int scale) {
    const std::size_t dot = path.rfind('.');
    const std::size_t slash = path.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return path + "@" + std::to_string(scale);
    }
    return path.substr(0, dot) + "@" + std::to_string(scale) + path.substr(dot);
}

}  // namespace

CPaintManagerUI::CPaintManagerUI() {
    Managers().push_back(this);
}

CPaintManagerUI::~CPaintManagerUI() {
    *alive_ = false;
    timers_.clear();
    auto& managers = Managers();
    managers.erase(std::remove(managers.begin(), managers.end(), this), managers.end());
    delete root_;
}

void CPaintManagerUI::SetInstancePath(const std::string& path) {
    InstancePath() = path;
}
const std::string& CPaintManagerUI::GetInstancePath() {
    return InstancePath();
}

void CPaintManagerUI::SetResourcePath(const std::string& path) {
    std::string normalised = NormalisedPath(path);
    if (!normalised.empty() && normalised.back() != '/') {
        normalised += '/';
    }
    ResourcePath() = normalised;
}

const std::string& CPaintManagerUI::GetResourcePath() {
    return ResourcePath();
}
void CPaintManagerUI::SetResourceType(int type) {
    ResourceType() = type;
}
int CPaintManagerUI::GetResourceType() {
    return ResourceType();
}

int CPaintManagerUI::MessageLoop() {
    return QApplication::exec();
}

void CPaintManagerUI::SetAllDPI(int dpi) {
    const std::vector<CPaintManagerUI*> managers = Managers();
    for (CPaintManagerUI* manager : managers) {
        manager->SetDPI(dpi);
    }
}

const std::vector<CPaintManagerUI*>& CPaintManagerUI::GetPaintManagers() {
    return Managers();
}

void CPaintManagerUI::ReloadAllText() {
    for (CPaintManagerUI* manager : Managers()) {
        manager->NeedUpdate();
        manager->Invalidate();
    }
}

void CPaintManagerUI::Init(QWidget* host, const std::string& name) {
    host_ = host;
    name_ = name;
}

bool CPaintManagerUI::AttachDialog(CControlUI* root) {
    if (root == nullptr) {
        return false;
    }
    if (root_ != nullptr && root_ != root) {
        delete root_;
    }
    root_ = root;
    focus_ = hot_ = capture_ = pressed_ = nullptr;
    InitControls(root_, nullptr);
    root_->Init();
    NeedUpdate();
    return true;
}

void CPaintManagerUI::InitControls(CControlUI* control, CControlUI* parent) {
    if (control == nullptr) {
        return;
    }
    control->SetManager(this, parent, true);
    namesDirty_ = true;
}

void CPaintManagerUI::ReapObjects(CControlUI* control) {
    if (control == nullptr) {
        return;
    }
    auto within = [control](CControlUI* candidate) {
        for (CControlUI* c = candidate; c != nullptr; c = c->GetParent()) {
            if (c == control) {
                return true;
            }
        }
        return false;
    };
    if (within(focus_)) {
        focus_ = nullptr;
    }
    if (within(hot_)) {
        hot_ = nullptr;
    }
    if (within(capture_)) {
        capture_ = nullptr;
    }
    if (within(pressed_)) {
        pressed_ = nullptr;
    }
    for (auto it = timers_.begin(); it != timers_.end();) {
        it = within(it->first.control) ? timers_.erase(it) : std::next(it);
    }
    for (auto& [group, members] : optionGroups_) {
        members.erase(std::remove_if(members.begin(), members.end(), within), members.end());
    }
    for (auto it = asyncNotify_.begin(); it != asyncNotify_.end();) {
        it = within(it->pSender) ? asyncNotify_.erase(it) : std::next(it);
    }
    namesDirty_ = true;
}

void CPaintManagerUI::NameChanged() {
    namesDirty_ = true;
}

void CPaintManagerUI::RebuildNameMap() const {
    names_.clear();
    if (root_ != nullptr) {
        root_->FindControl(
            [this](CControlUI* control) {
                if (!control->GetName().empty()) {
                    names_.emplace(control->GetName(), control);
                }
                return false;
            },
            UIFIND_ALL | UIFIND_ME_FIRST);
    }
    namesDirty_ = false;
}

CControlUI* CPaintManagerUI::FindControlQuietly(const std::string& name) const {
    if (namesDirty_) {
        RebuildNameMap();
    }
    // Several controls may share a name (one per device page); the first in tree order wins.
    CControlUI* first = nullptr;
    if (root_ != nullptr) {
        const auto range = names_.equal_range(name);
        if (range.first == range.second) {
            return nullptr;
        }
        if (std::next(range.first) == range.second) {
            return range.first->second;
        }
        first = root_->FindControl([&name](CControlUI* c) { return c->GetName() == name; },
                                   UIFIND_ALL | UIFIND_ME_FIRST);
    }
    return first;
}

CControlUI* CPaintManagerUI::FindControl(const std::string& name) const {
    CControlUI* found = FindControlQuietly(name);
    if (found == nullptr) {
        platform::DebugFormat("FindControl: window '%s' has no control named '%s'\n", name_.c_str(),
                              name.c_str());
    }
    return found;
}

CControlUI* CPaintManagerUI::FindControl(QPoint point) const {
    auto* root = root_ != nullptr ? static_cast<CContainerUI*>(root_->GetInterface("Container")) : nullptr;
    if (root != nullptr) {
        return root->FindControlAt(point);
    }
    return root_ != nullptr && root_->IsVisible() && root_->GetPos().contains(point) ? root_ : nullptr;
}

CControlUI* CPaintManagerUI::FindSubControlByName(CControlUI* parent, const std::string& name) const {
    CControlUI* found = nullptr;
    if (parent != nullptr) {
        found = parent->FindControl([&name](CControlUI* c) { return c->GetName() == name; },
                                    UIFIND_ALL | UIFIND_ME_FIRST);
    }
    if (found == nullptr) {
        platform::DebugFormat("FindSubControlByName: '%s' has no control named '%s'\n",
                              parent != nullptr ? parent->GetName().c_str() : "(null)", name.c_str());
    }
    return found;
}

bool CPaintManagerUI::AddNotifier(INotifyUI* notifier) {
    if (notifier == nullptr ||
        std::find(notifiers_.begin(), notifiers_.end(), notifier) != notifiers_.end()) {
        return false;
    }
    notifiers_.push_back(notifier);
    return true;
}

bool CPaintManagerUI::RemoveNotifier(INotifyUI* notifier) {
    const auto it = std::find(notifiers_.begin(), notifiers_.end(), notifier);
    if (it == notifiers_.end()) {
        return false;
    }
    notifiers_.erase(it);
    return true;
}

void CPaintManagerUI::Deliver(TNotifyUI& msg) {
    const std::vector<INotifyUI*> notifiers = notifiers_;
    const std::weak_ptr<bool> alive = alive_;
    for (INotifyUI* notifier : notifiers) {
        // A notifier may close the window (and delete this manager) while handling it.
        if (alive.expired() ||
            std::find(notifiers_.begin(), notifiers_.end(), notifier) == notifiers_.end()) {
            return;
        }
        notifier->Notify(msg);
    }
}

void CPaintManagerUI::SendNotify(TNotifyUI& msg, bool async) {
    if (!async) {
        Deliver(msg);
        return;
    }
    asyncNotify_.push_back(msg);
    if (asyncScheduled_) {
        return;
    }
    asyncScheduled_ = true;
    const std::weak_ptr<bool> alive = alive_;
    QTimer::singleShot(0, qApp, [this, alive] {
        if (!alive.expired()) {
            FlushAsyncNotify();
        }
    });
}

void CPaintManagerUI::SendNotify(CControlUI* control, const std::string& type, WPARAM wParam, LPARAM lParam,
                                 bool async) {
    TNotifyUI msg;
    msg.sType = type;
    msg.pSender = control;
    msg.wParam = wParam;
    msg.lParam = lParam;
    if (host_ != nullptr) {
        msg.ptMouse = host_->mapFromGlobal(QCursor::pos());
    }
    SendNotify(msg, async);
}

void CPaintManagerUI::FlushAsyncNotify() {
    asyncScheduled_ = false;
    const std::weak_ptr<bool> alive = alive_;
    while (!asyncNotify_.empty() && !alive.expired()) {
        TNotifyUI msg = asyncNotify_.front();
        asyncNotify_.pop_front();
        Deliver(msg);
    }
}

bool CPaintManagerUI::SetTimer(CControlUI* control, int id, int elapseMs) {
    if (control == nullptr || elapseMs < 0) {
        return false;
    }
    auto& timer = timers_[TimerKey{control, id}];
    if (!timer) {
        timer = std::make_unique<QTimer>();
        QObject::connect(timer.get(), &QTimer::timeout, [this, control, id] {
            TEventUI event;
            event.Type = EventType::Timer;
            event.pSender = control;
            event.wParam = static_cast<WPARAM>(id);
            control->Event(event);
        });
    }
    timer->start(elapseMs);
    return true;
}

bool CPaintManagerUI::KillTimer(CControlUI* control, int id) {
    const auto it = timers_.find(TimerKey{control, id});
    if (it == timers_.end()) {
        return false;
    }
    // The timer may be the one whose handler is running: let the loop delete it.
    it->second->stop();
    it->second.release()->deleteLater();
    timers_.erase(it);
    return true;
}

void CPaintManagerUI::KillTimer(CControlUI* control) {
    for (auto it = timers_.begin(); it != timers_.end();) {
        if (it->first.control == control) {
            it->second->stop();
            it->second.release()->deleteLater();
            it = timers_.erase(it);
        } else {
            ++it;
        }
    }
}

bool CPaintManagerUI::HasTimer(CControlUI* control, int id) const {
    return timers_.find(TimerKey{control, id}) != timers_.end();
}

void CPaintManagerUI::SetFocus(CControlUI* control) {
    if (control == focus_) {
        return;
    }
    if (focus_ != nullptr) {
        CControlUI* old = focus_;
        focus_ = nullptr;
        TEventUI event;
        event.Type = EventType::KillFocus;
        event.pSender = control;
        old->Event(event);
    }
    if (control == nullptr || !control->IsVisible() || !control->IsEnabled()) {
        return;
    }
    focus_ = control;
    TEventUI event;
    event.Type = EventType::SetFocus;
    event.pSender = control;
    control->Event(event);
}

void CPaintManagerUI::AddOptionGroup(const std::string& group, CControlUI* option) {
    auto& members = optionGroups_[group];
    if (std::find(members.begin(), members.end(), option) == members.end()) {
        members.push_back(option);
    }
}

void CPaintManagerUI::RemoveOptionGroup(const std::string& group, CControlUI* option) {
    const auto it = optionGroups_.find(group);
    if (it != optionGroups_.end()) {
        auto& members = it->second;
        members.erase(std::remove(members.begin(), members.end(), option), members.end());
    }
}

const std::vector<CControlUI*>* CPaintManagerUI::GetOptionGroup(const std::string& group) const {
    const auto it = optionGroups_.find(group);
    return it == optionGroups_.end() ? nullptr : &it->second;
}

bool CPaintManagerUI::SetDPI(int dpi) {
    const int old = dpi_.GetDPI();
    if (!dpi_.SetDPI(dpi)) {
        return false;
    }
    if (old != dpi) {
        ResetDPIAssets();
        ApplyScaleToHost(old);
    }
    return true;
}

void CPaintManagerUI::ApplyScaleToHost(int oldDpi) {
    if (host_ == nullptr) {
        return;
    }
    QWidget* window = host_->window();
    const QSize size = window->size();
    window->resize(size.width() * dpi_.GetDPI() / oldDpi, size.height() * dpi_.GetDPI() / oldDpi);
    const QSize minimum = GetMinInfo();
    if (!minimum.isEmpty()) {
        window->setMinimumSize(minimum);
    }
}

void CPaintManagerUI::ResetDPIAssets() {
    images_.clear();
    NeedUpdate();
    Invalidate();
}

void CPaintManagerUI::AddFont(int id, const std::string& family, int size, bool bold, bool underline,
                              bool italic, bool) {
    FontInfo info{family, size, bold, underline, italic};
    fonts_[id] = info;
}

QFont CPaintManagerUI::GetFont(int id) const {
    const auto it = fonts_.find(id);
    const FontInfo& info = it == fonts_.end() ? defaultFont_ : it->second;
    QFont font(QString::fromStdString(fontFamilyOverride_.empty() ? info.family : fontFamilyOverride_));
    // Noto Sans CJK covers the Chinese texts where the chosen family has no glyphs.
    font.setFamilies({font.family(), QStringLiteral("Noto Sans"), QStringLiteral("Noto Sans CJK SC")});
    font.setPixelSize(std::max(1, dpi_.Scale(info.size)));
    font.setBold(info.bold);
    font.setUnderline(info.underline);
    font.setItalic(info.italic);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

void CPaintManagerUI::SetDefaultFont(const std::string& family, int size, bool bold) {
    defaultFont_ = FontInfo{family, size, bold, false, false};
    Invalidate();
}

void CPaintManagerUI::SetFontFamily(const std::string& family) {
    fontFamilyOverride_ = family;
    NeedUpdate();
    Invalidate();
}

void CPaintManagerUI::AddDefaultAttributeList(const std::string& controlClass, const std::string& list) {
    defaultAttributes_[controlClass] = list;
}

std::string CPaintManagerUI::GetDefaultAttributeList(const std::string& controlClass) const {
    const auto it = defaultAttributes_.find(controlClass);
    return it == defaultAttributes_.end() ? std::string() : it->second;
}

const CPaintManagerUI::Image* CPaintManagerUI::GetImage(const std::string& name, bool fromRes) {
    std::string file = name;
    if (fromRes) {
        const std::string mapped = CResourceManager::GetInstance().GetImagePath(name);
        if (!mapped.empty()) {
            file = mapped;
        }
    }
    file = NormalisedPath(file);
    const auto cached = images_.find(file);
    if (cached != images_.end()) {
        return &cached->second;
    }
    const std::string base = (!file.empty() && file.front() == '/') ? file : GetResourcePath() + file;
    Image image;
    // Prefer the variant drawn for this scale (or the next larger one) so text-sharp icons stay sharp.
    const int scale = dpi_.GetScale();
    for (int variant : {150, 200}) {
        if (scale > 100 && variant >= scale - 25 &&
            QFileInfo::exists(QString::fromStdString(VariantPath(base, variant)))) {
            image.pixmap.load(QString::fromStdString(VariantPath(base, variant)));
            image.factor = variant / 100.0;
            break;
        }
    }
    if (image.pixmap.isNull()) {
        image.pixmap.load(QString::fromStdString(base));
        image.factor = 1.0;
    }
    if (image.pixmap.isNull()) {
        platform::DebugFormat("CPaintManagerUI: cannot load image '%s'\n", base.c_str());
    }
    return &images_.emplace(file, std::move(image)).first->second;
}

void CPaintManagerUI::Invalidate() {
    if (host_ != nullptr) {
        host_->update();
    }
}

void CPaintManagerUI::Invalidate(const QRect& rect) {
    if (host_ != nullptr) {
        host_->update(rect);
    }
}

bool CPaintManagerUI::IsShown() const {
    return host_ != nullptr && host_->isVisible() && !host_->window()->isMinimized();
}

void CPaintManagerUI::NeedUpdate() {
    layoutNeeded_ = true;
    Invalidate();
}

void CPaintManagerUI::UpdateLayout() {
    if (root_ == nullptr || host_ == nullptr) {
        return;
    }
    const QRect client(QPoint(0, 0), host_->size());
    if (layoutNeeded_ || root_->GetPos() != client) {
        layoutNeeded_ = false;
        root_->SetPos(client, false);
    }
}

void CPaintManagerUI::Paint(QPainter& painter, const QRect& rect) {
    UpdateLayout();
    if (root_ != nullptr) {
        root_->DoPaint(painter, rect);
    }
}

void CPaintManagerUI::SetHot(CControlUI* control, QPoint point) {
    if (control == hot_) {
        return;
    }
    TEventUI event;
    event.ptMouse = point;
    if (hot_ != nullptr) {
        event.Type = EventType::MouseLeave;
        event.pSender = hot_;
        CControlUI* old = hot_;
        hot_ = nullptr;
        old->Event(event);
    }
    hot_ = control;
    if (hot_ != nullptr) {
        event.Type = EventType::MouseEnter;
        event.pSender = hot_;
        hot_->Event(event);
        if (host_ != nullptr) {
            const std::string tip = hot_->GetToolTip();
            host_->setToolTip(QString::fromStdString(tip));
        }
    }
}

void CPaintManagerUI::OnMouseMove(QPoint point, unsigned keyState) {
    UpdateLayout();
    CControlUI* target = capture_ != nullptr ? capture_ : FindControl(point);
    if (capture_ == nullptr) {
        SetHot(target != nullptr && target->IsEnabled() ? target : nullptr, point);
    }
    if (target == nullptr) {
        return;
    }
    TEventUI event;
    event.Type = EventType::MouseMove;
    event.pSender = target;
    event.ptMouse = point;
    event.wKeyState = keyState;
    target->Event(event);
}

void CPaintManagerUI::OnMouseLeave() {
    if (capture_ == nullptr) {
        SetHot(nullptr, QPoint());
    }
}

void CPaintManagerUI::OnButtonDown(QPoint point, bool right, unsigned keyState) {
    UpdateLayout();
    CControlUI* target = FindControl(point);
    if (target == nullptr) {
        return;
    }
    if (!right && target->IsKeyboardEnabled() && target->IsEnabled()) {
        SetFocus(target);
    }
    pressed_ = target;
    capture_ = capture_ == nullptr ? target : capture_;
    TEventUI event;
    event.Type = right ? EventType::RButtonDown : EventType::ButtonDown;
    event.pSender = target;
    event.ptMouse = point;
    event.wKeyState = keyState;
    target->Event(event);
}

void CPaintManagerUI::OnButtonUp(QPoint point, bool right, unsigned keyState) {
    CControlUI* target = capture_ != nullptr ? capture_ : pressed_;
    capture_ = nullptr;
    pressed_ = nullptr;
    if (target == nullptr) {
        return;
    }
    TEventUI event;
    event.Type = right ? EventType::RButtonUp : EventType::ButtonUp;
    event.pSender = target;
    event.ptMouse = point;
    event.wKeyState = keyState;
    target->Event(event);
    if (right) {
        TEventUI menu = event;
        menu.Type = EventType::ContextMenu;
        target->Event(menu);
    }
}

void CPaintManagerUI::OnDoubleClick(QPoint point, unsigned keyState) {
    CControlUI* target = FindControl(point);
    if (target == nullptr) {
        return;
    }
    pressed_ = target;
    capture_ = target;
    TEventUI event;
    event.Type = EventType::DblClick;
    event.pSender = target;
    event.ptMouse = point;
    event.wKeyState = keyState;
    target->Event(event);
}

void CPaintManagerUI::OnWheel(QPoint point, int delta, unsigned keyState) {
    CControlUI* target = FindControl(point);
    if (target == nullptr) {
        return;
    }
    TEventUI event;
    event.Type = EventType::ScrollWheel;
    event.pSender = target;
    event.ptMouse = point;
    event.key = delta;
    event.wKeyState = keyState;
    target->Event(event);
}

void CPaintManagerUI::OnKeyDown(int key, unsigned keyState) {
    if (focus_ == nullptr) {
        return;
    }
    TEventUI event;
    event.Type = EventType::KeyDown;
    event.pSender = focus_;
    event.key = key;
    event.wKeyState = keyState;
    focus_->Event(event);
}

}  // namespace ui
