// Special-value combination tables and how their codes are applied.
#pragma once
#include "tq_types.h"

void n_SpecialTables_Fill();
