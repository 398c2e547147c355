#include <cstdio>
#include <cstdlib>
#include <string>
#include "frame/tq_state.h"
#include "tarq.h"
static void sink(const std::string &l){ if (l.rfind("Threshold:",0)!=0 && l.find(" ->")==std::string::npos) printf("%s\n", l.c_str()); }
int main(){ setenv("NUMBER_OF_PROCESSORS","2",1); TQ_GETPRECISION(1); tq_SetTraceSink(sink); tq_dstr op=nullptr; TQ_TEST2(0,&op,0); TQ_DS_FREE(op); }
