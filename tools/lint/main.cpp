#include "tools/lint/LintMain.h"

#include <iostream>

int main(int argc, char** argv)
{
    return lintMain(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
