#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// CNotificationRouter: the dispatcher behind the main window's Notify. Each notification type has
// one ordered table of rows; a row matches the sender's name exactly (with or without regard to
// case), by its indexed prefix, or whatever the name is. The first matching row of the type's
// table runs; later rows are not tried, so a table's order is its precedence.
//
// Indexed names: a control name is split at its last "_"; the prefix keeps the "_", the rest is
// read like C's atol (leading blanks and a sign allowed, digits up to the first other character,
// no digits → 0). A name without "_" has no prefix and matches no prefix row.
//
// Route returns whether the notification is handed on to the toolkit's own Notify afterwards
// (false only for the types registered as ending there). It writes every type but "timer" with
// the sender's name to the debug output.
//
// Thread: the UI thread only (it runs inside Notify).

struct RoutedName {
    std::string name;
    bool hasPrefix = false;
    std::string prefix;
    long index = 0;
};

// Splits a control name into prefix and index.
RoutedName SplitControlName(std::string_view name);

struct RoutedNotification {
    std::string type;
    RoutedName sender;
};

class CNotificationRouter {
public:
    using Handler = std::function<void(const RoutedNotification&)>;

    enum class Match {
        ExactNoCase,  // the whole name, letter case ignored
        Exact,        // the whole name, letter case significant
        Prefix,       // the split prefix, letter case significant
        Any,          // every sender
    };

    // Appends a row to the table of the type.
    void Add(const std::string& type, Match match, std::string name, Handler handler);
    // Appends one row per name, all with the same handler.
    void AddEach(const std::string& type, Match match, std::initializer_list<const char*> names,
                 const Handler& handler);
    // Notifications of this type are not handed on to the toolkit.
    void EndHere(const std::string& type);

    // Runs the first matching row; returns whether the toolkit's Notify should run next.
    bool Route(const std::string& type, std::string_view senderName) const;
    // Whether some row of the type would take the name (for tests of the tables).
    bool Matches(const std::string& type, std::string_view senderName) const;

private:
    struct Row {
        std::string type;
        Match match;
        std::string name;
        Handler handler;
    };

    const Row* FindRow(const std::string& type, const RoutedName& sender) const;

    std::vector<Row> rows_;
    std::vector<std::string> endingTypes_;
};
