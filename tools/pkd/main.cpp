#include "tools/pkd/PkdCommands.h"

#include <iostream>

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    std::ios::sync_with_stdio(false);
    int code = pkdMain(args, std::cout, std::cerr);
    std::cout.flush();
    return code;
}
