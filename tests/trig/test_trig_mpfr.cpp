#include "tq_gmp.h"
#include "arith/arith.h"
#include "arith/funcs.h"
#include "arith/constants.h"
#include "explog/explog.h"
#include "arith/funcs_util.h"
#include "frame/const_cache.h"
#include <chrono>
#include <cstdio>
int main(int argc,char**argv){ int digits=atoi(argv[1]); int kind=atoi(argv[2]); TQ_SETPRECISION(1,digits);
  for(int code: {7,8,1,2,4}){ if(code==4&&kind==1) continue; TqNum v=tq_IntNum(kind,0); auto t0=std::chrono::steady_clock::now(); n_GetConst(code,v); auto t1=std::chrono::steady_clock::now(); printf("code %d: %.3f ms\n",code,std::chrono::duration<double,std::milli>(t1-t0).count()); }
  TqNum x=tq_IntNum(kind,3), r=x;
  auto t0=std::chrono::steady_clock::now(); n_Sqrt(x,r); auto t1=std::chrono::steady_clock::now(); printf("sqrt %.3f ms\n",std::chrono::duration<double,std::milli>(t1-t0).count());
  t0=std::chrono::steady_clock::now(); n_Exp(x,r); t1=std::chrono::steady_clock::now(); printf("exp %.3f ms\n",std::chrono::duration<double,std::milli>(t1-t0).count());
  t0=std::chrono::steady_clock::now(); n_Log(x,r); t1=std::chrono::steady_clock::now(); printf("log %.3f ms\n",std::chrono::duration<double,std::milli>(t1-t0).count());
  TqNum y=x; t0=std::chrono::steady_clock::now(); n_Mul(r,r,y); t1=std::chrono::steady_clock::now(); printf("mul %.3f ms\n",std::chrono::duration<double,std::milli>(t1-t0).count());
}
