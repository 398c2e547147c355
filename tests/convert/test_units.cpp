#include "tq_gmp.h"
#include "arith/arith.h"
#include "arith/funcs.h"
#include "arith/constants.h"
#include "explog/explog.h"
#include "arith/funcs_util.h"
#include <chrono>
#include <cstdio>
int main(int argc,char**argv){ int digits=atoi(argv[1]); int kind=atoi(argv[2]); int reps=atoi(argv[3]); TQ_SETPRECISION(1,digits);
  TqNum x=tq_IntNum(kind,3), r=x; n_Exp(x,r); n_Log(x,r);
  for(int i=0;i<reps;i++){ if(argv[4][0]=='e') n_Exp(x,r); else if(argv[4][0]=='l') n_Log(x,r); else if (argv[4][0]=='s') n_Sqrt(x,r); else {TqNum v=tq_IntNum(kind,0); extern void tq_ConstCache_Clear(); tq_ConstCache_Clear(); n_GetConst(8,v);} }
}
