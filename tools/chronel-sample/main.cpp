#include <iostream>
#include <string>
#include <vector>

#include "sampledata/ChronelSampleCommand.h"

int main(int argc, char** argv) {
    return vantrell::sampledata::runChronelSample(std::vector<std::string>(argv + 1, argv + argc),
                                                  std::cout, std::cerr);
}
