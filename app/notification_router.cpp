#include "app/notification_router.h"

#include "platform/text.h"

#include "platform/debug.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace {}  // namespace

RoutedName SplitControlName(std::string_view name) {
    RoutedName result;
    result.name = std::string(name);
    const auto cut = name.rfind('_');
    if (cut == std::string_view::npos)
        return result;
    result.hasPrefix = true;
    result.prefix = std::string(name.substr(0, cut + 1));
    const std::string rest(name.substr(cut + 1));
    result.index = std::strtol(rest.c_str(), nullptr, 10);
    return result;
}

void CNotificationRouter::Add(const std::string& type, Match match, std::string name, Handler handler) {
    rows_.push_back(Row{type, match, std::move(name), std::move(handler)});
}

void CNotificationRouter::AddEach(const std::string& type, Match match,
                                  std::initializer_list<const char*> names, const Handler& handler) {
    for (const char* name : names)
        Add(type, match, name, handler);
}

void CNotificationRouter::EndHere(const std::string& type) {
    endingTypes_.push_back(type);
}

const CNotificationRouter::Row* CNotificationRouter::FindRow(const std::string& type,
                                                             const RoutedName& sender) const {
    for (const Row& row : rows_) {
        if (row.type != type)
            continue;
        switch (row.match) {
            case Match::ExactNoCase:
                if (platform::EqualsNoCase(row.name, sender.name))
                    return &row;
                break;
            case Match::Exact:
                if (row.name == sender.name)
                    return &row;
                break;
            case Match::Prefix:
                if (sender.hasPrefix && row.name == sender.prefix)
                    return &row;
                break;
            case Match::Any:
                return &row;
        }
    }
    return nullptr;
}

bool CNotificationRouter::Route(const std::string& type, std::string_view senderName) const {
    if (type != "timer") {
        platform::DebugFormat("%s %.*s\n", type.c_str(), static_cast<int>(senderName.size()),
                              senderName.data());
    }
    RoutedNotification notification{type, SplitControlName(senderName)};
    if (const Row* row = FindRow(type, notification.sender))
        row->handler(notification);
    return std::find(endingTypes_.begin(), endingTypes_.end(), type) == endingTypes_.end();
}

bool CNotificationRouter::Matches(const std::string& type, std::string_view senderName) const {
    return FindRow(type, SplitControlName(senderName)) != nullptr;
}
