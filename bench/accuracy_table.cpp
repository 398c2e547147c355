// Prints the accuracy table of the float operations and functions: for each
// operation x kind x precision, the cases run against MPFR, the largest error
// in units in the last place and the shares within half a unit and one unit.
//   accuracy_table [cases per family at 20/38/100 digits] [operation ...]
// The 1,000-digit rows run a tenth as many cases, the 5,000-digit rows two
// per family of the basic operations, exponentials and logarithms.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "accuracy.h"

int main(int argc, char **argv) {
    int perFamily = argc > 1 ? std::atoi(argv[1]) : 200;
    std::vector<std::string> only(argv + (argc > 1 ? 2 : 1), argv + argc);
    std::printf("| operation | kind | digits | cases | largest error (units) | within 0.5 | within 1 | worst operands |\n");
    std::printf("|---|---|---|---|---|---|---|---|\n");
    for (const AccOp &op : acc_Ops()) {
        bool wanted = only.empty();
        for (const std::string &o : only) wanted |= o == op.name;
        if (!wanted) continue;
        for (int32_t digits : {20, 38, 100, 1000, 5000}) {
            int n = digits >= 5000 ? 2 : digits >= 1000 ? std::max(1, perFamily / 10) : perFamily;
            if (digits >= 5000 && op.arity == 2 && std::string(op.name) == "POW") continue;
            if (digits >= 5000 && op.families[0] && std::string(op.families).find('P') != std::string::npos) continue;
            for (int32_t kind : {TarqDecFloat, TarqBinFloat}) {
                AccStats st;
                acc_Run(op, kind, digits, n, st);
                std::printf("| %s | %s | %d | %d | %.3g | %.1f%% | %.1f%% | %s |\n", op.name, kind == TarqDecFloat ? "dec" : "bin",
                            digits, st.cases, st.maxUnits, 100.0 * st.within05 / std::max(1, st.cases),
                            100.0 * st.within1 / std::max(1, st.cases), st.worst.substr(0, 120).c_str());
                std::fflush(stdout);
            }
        }
    }
    return 0;
}
