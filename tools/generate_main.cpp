// Writes every shipped data file into the directory given as the only argument.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "tools/art_generator.h"
#include "tools/catalogue_generator.h"
#include "tools/help_page_generator.h"

namespace {

bool writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

bool writeOrComplain(const std::string& directory, const std::string& name, const std::vector<std::uint8_t>& bytes)
{
    if (writeFile(directory + name, bytes)) {
        return true;
    }
    std::fprintf(stderr, "cannot write %s%s\n", directory.c_str(), name.c_str());
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <data directory>\n", argv[0]);
        return 2;
    }
    namespace tools = snugbox::tools;
    const std::string directory = std::string(argv[1]) + "/";
    const std::string help = tools::generateHelpPage();
    bool written = writeOrComplain(directory, "ALLPIECES.PDAT", tools::generateCatalogue());
    written = writeOrComplain(directory, "ALLPICDATA.BMP", tools::generateSpriteSheet()) && written;
    written = writeOrComplain(directory, "BGIMG.BMP", tools::generateWelcomePicture()) && written;
    for (const tools::NamedFile& icon : tools::generateIcons()) {
        written = writeOrComplain(directory, icon.name, icon.bytes) && written;
    }
    written = writeOrComplain(directory, "snugbox.svg", tools::generateScalableIcon()) && written;
    written = writeOrComplain(directory, "Snugbox.htm", std::vector<std::uint8_t>(help.begin(), help.end())) && written;
    return written ? 0 : 1;
}
