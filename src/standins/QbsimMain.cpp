#include <iostream>
#include <string>
#include <vector>

#include "standins/QbsimCommand.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    return vantrell::standins::runQbsim(args, std::cout, std::cerr);
}
