#include "tools/soak_check.h"

#include <cstdio>

int main(int argc, char** argv) {
    std::string out, err;
    const int status = zq::tools::runSoakCheck(std::vector<std::string>(argv + 1, argv + argc), out, err);
    std::fputs(err.c_str(), stderr);
    std::fputs(out.c_str(), stdout);
    return status;
}
