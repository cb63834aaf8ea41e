#pragma once

#include "app/notification_router.h"
#include "app/route_targets.h"

#include <string>

// The main window's notification tables: which control event reaches which operation. Later pages
// add their rows here, in the place their precedence asks for.

// Fills the router with every row; the rows call into targets, which must outlive the router.
void AddMainWndRoutes(CNotificationRouter& router, IRouteTargets& targets);

// The "quorl_DPI_edit_" rule: the edit's text as a number (atol), clamped to 200..6500.
int ClampQuorlDpi(const std::string& text);
