// Writes every shipped data file into the directory given as the only argument.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "tools/catalogue_generator.h"

namespace {

bool writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <data directory>\n", argv[0]);
        return 2;
    }
    const std::string directory = std::string(argv[1]) + "/";
    if (!writeFile(directory + "ALLPIECES.PDAT", snugbox::tools::generateCatalogue())) {
        std::fprintf(stderr, "cannot write %sALLPIECES.PDAT\n", directory.c_str());
        return 1;
    }
    return 0;
}
