#pragma once
// Everything a window needs to lay out its data-aware editors.
#include "dbctrls/datalink.h"
#include "dbctrls/dateedit.h"
#include "dbctrls/editors.h"
#include "dbctrls/enterring.h"
#include "dbctrls/navigator.h"
