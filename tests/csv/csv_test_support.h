#pragma once

#include <fstream>
#include <sstream>
#include <string>

// The bytes of a sample file under tests/data/csv.
inline std::string ReadSample(const std::string& name)
{
    std::ifstream in(std::string(TARELOG_TEST_DATA) + "/csv/" + name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}
