// The interactive prompt: line editing and history, commands, Ctrl-C.
#pragma once
#include "calc.h"

// Runs the prompt until :quit or end of input; returns the exit status.
int prompt_Run(Calculator &calc);
