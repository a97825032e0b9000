// Runs every kept corpus file of one harness through it, as libFuzzer would, but as a
// plain program: snugbox_fuzz_replay <catalogue|pictures|store> <file or folder>...
// Fails when a harness finds a broken promise (it aborts) or when there is nothing to run.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "tests/fuzz/harnesses.h"

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> inputsIn(const std::vector<std::string>& arguments)
{
    std::vector<fs::path> inputs;
    for (const std::string& argument : arguments) {
        if (fs::is_directory(argument)) {
            for (const fs::directory_entry& entry : fs::directory_iterator(argument)) {
                if (entry.is_regular_file()) inputs.push_back(entry.path());
            }
        } else {
            inputs.emplace_back(argument);
        }
    }
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

} // namespace

int main(int argc, char** argv)
{
    using Harness = std::function<int(const std::uint8_t*, std::size_t)>;
    const std::map<std::string, Harness> harnesses{{"catalogue", snugbox::fuzz::fuzzCatalogue},
                                                   {"pictures", snugbox::fuzz::fuzzPictures},
                                                   {"store", snugbox::fuzz::fuzzStore}};
    const auto harness = argc >= 3 ? harnesses.find(argv[1]) : harnesses.end();
    if (harness == harnesses.end()) {
        std::fprintf(stderr, "usage: %s catalogue|pictures|store <file or folder>...\n", argv[0]);
        return 2;
    }
    const std::vector<fs::path> inputs = inputsIn(std::vector<std::string>(argv + 2, argv + argc));
    int tried = 0;
    for (const fs::path& input : inputs) {
        std::printf("%s\n", input.filename().c_str());
        std::fflush(stdout);   // the last name shown is the input that broke a promise
        const std::string bytes = snugbox::fuzz::fileBytes(input);
        tried += harness->second(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()) == 0;
    }
    std::printf("%s: %zu inputs, %d tried\n", argv[1], inputs.size(), tried);
    return inputs.empty() ? 1 : 0;
}
