// Special-value combination tables and how their codes are applied.
#pragma once
#include "base/tq_types.h"

void n_SpecialTables_Fill();
