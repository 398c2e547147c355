// The library's dynamic strings (BSTR on Windows, length-prefixed elsewhere).
#pragma once
#include <string>

#include "tarq.h"

tq_dstr tq_DS_Make(const std::string &s);
std::string tq_DS_Read(tq_dstr s);
// Frees *slot (if not null) and stores a new string holding s.
void tq_DS_Assign(tq_dstr *slot, const std::string &s);
