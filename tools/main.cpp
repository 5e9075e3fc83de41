#include "tools/hid_tool.h"

#include <iostream>

int main(int argc, char** argv) {
    return zq::tools::runHidTool(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
