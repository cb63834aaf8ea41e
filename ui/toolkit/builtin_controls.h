#pragma once

// Every control class of the toolkit, for the factory and for users who want them all.
#include "ui/toolkit/button_ui.h"
#include "ui/toolkit/container_ui.h"
#include "ui/toolkit/control_ui.h"
#include "ui/toolkit/horizontal_layout_ui.h"
#include "ui/toolkit/label_ui.h"
#include "ui/toolkit/option_ui.h"
#include "ui/toolkit/tab_layout_ui.h"
#include "ui/toolkit/text_ui.h"
#include "ui/toolkit/vertical_layout_ui.h"

#define BUILTIN_CONTROLS_MORE
