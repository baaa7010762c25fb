#pragma once
// The whole procedure unit in one include: its free procedures and its
// process-wide values.

#include "kv/core/identification_texts.h"
#include "kv/proc/conversions.h"
#include "kv/proc/geometry.h"
#include "kv/proc/gradient_fill.h"
#include "kv/proc/log_scale.h"
#include "kv/proc/painters.h"
#include "kv/proc/proc_values.h"
#include "kv/proc/shell_open.h"
#include "kv/proc/text_output.h"
#include "kv/proc/window_positions.h"
