#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/temp_dir.h"

namespace snugbox {
namespace {

namespace fs = std::filesystem;

constexpr int kKills = 250;

// A child process of the save-loop program with its standard output on a pipe.
class SaveLoop {
public:
    explicit SaveLoop(const std::vector<std::string>& arguments)
    {
        int pipeEnds[2];
        if (::pipe(pipeEnds) != 0) {
            return;
        }
        std::vector<char*> argv;
        std::string program = SNUGBOX_STORE_SAVE_LOOP;
        argv.push_back(program.data());
        std::vector<std::string> copies = arguments;
        for (std::string& argument : copies) argv.push_back(argument.data());
        argv.push_back(nullptr);
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(pipeEnds[1], STDOUT_FILENO);
            ::close(pipeEnds[0]);
            ::close(pipeEnds[1]);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        ::close(pipeEnds[1]);
        output_ = pipeEnds[0];
    }
    ~SaveLoop()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            finish();
        }
        if (output_ >= 0) ::close(output_);
    }
    SaveLoop(const SaveLoop&) = delete;
    SaveLoop& operator=(const SaveLoop&) = delete;

    bool started() const { return pid_ > 0 && output_ >= 0; }

    // Reads what the child has written until `text` shows up in it, or to its end.
    void readUntil(const std::string& text)
    {
        char buffer[4096];
        while (said_.find(text) == std::string::npos) {
            const ssize_t count = ::read(output_, buffer, sizeof buffer);
            if (count <= 0) return;
            said_.append(buffer, static_cast<std::size_t>(count));
        }
    }

    void killNow() { ::kill(pid_, SIGKILL); }

    // Waits for the child to end and reads the rest of what it said; its exit status, or
    // minus the signal that ended it.
    int finish()
    {
        readUntil("\n\n");   // never written: reads to the end
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFSIGNALED(status) ? -WTERMSIG(status) : WEXITSTATUS(status);
    }

    const std::string& said() const { return said_; }

private:
    pid_t pid_ = -1;
    int output_ = -1;
    std::string said_;
};

// The highest number after `word` in the child's lines, or 0.
int lastNumbered(const std::string& said, const std::string& word)
{
    std::istringstream lines(said);
    std::string seen;
    std::string number;
    int last = 0;
    while (lines >> seen >> number) {
        if (seen == word && number != "none") last = std::stoi(number);
    }
    return last;
}

std::string firstLine(const std::string& said) { return said.substr(0, said.find('\n')); }

bool anyFileSetAside(const std::string& config)
{
    for (const auto& entry : fs::recursive_directory_iterator(config)) {
        if (entry.path().filename().string().find(".corrupt-") != std::string::npos) return true;
    }
    return false;
}

// Each child loads the store, then saves numbered stores one after the other, every value
// changing from one to the next, until it is killed at a random moment. The next child
// must find the last whole save, or the one the kill cut short, never defaults or a mix.
TEST(KillDuringSave, TheStoreHoldsTheSaveBeforeTheKillOrTheOneItCutShortNeverDefaultsOrAMix)
{
    ASSERT_TRUE(fs::exists(SNUGBOX_STORE_SAVE_LOOP));
    testing::TempDir temp;
    const std::string config = temp.file("config");
    const unsigned seed = std::random_device{}();
    std::mt19937 random(seed);
    SCOPED_TRACE("random seed " + std::to_string(seed));

    std::string expected = "found none";   // a first run
    std::string orCutShort = expected;
    int inFirstSave = 0;
    int cutShortKept = 0;
    // Kills come at a random moment up to this long after a child starts its first save.
    // A first save takes longer than the later ones and a busy machine longer still: the
    // reach follows, so that about half the kills land in a child's first save, at every
    // step of it, and half in the saves after it.
    double reachMicroseconds = 15000;
    for (int kill = 0; kill <= kKills; ++kill) {
        SaveLoop child({config});
        ASSERT_TRUE(child.started());
        child.readUntil("\n");
        const std::string found = firstLine(child.said());
        ASSERT_TRUE(found == expected || found == orCutShort)
            << "after kill " << kill << ": " << found << " instead of " << expected << " or " << orCutShort;
        ASSERT_FALSE(anyFileSetAside(config)) << "after kill " << kill;
        cutShortKept += found != expected ? 1 : 0;
        if (kill == kKills) {
            break;   // the last child only tells what the last kill left
        }

        child.readUntil("saving");
        std::this_thread::sleep_for(std::chrono::duration<double, std::micro>(
            std::uniform_real_distribution(0.0, reachMicroseconds)(random)));
        child.killNow();
        ASSERT_EQ(child.finish(), -SIGKILL) << child.said();
        const int saved = std::max(lastNumbered(child.said(), "saved"), lastNumbered(child.said(), "found"));
        const int saving = lastNumbered(child.said(), "saving");
        expected = saved > 0 ? "found " + std::to_string(saved) : "found none";
        orCutShort = "found " + std::to_string(saving);
        const bool firstSave = lastNumbered(child.said(), "saved") == 0;
        inFirstSave += firstSave ? 1 : 0;
        reachMicroseconds *= firstSave ? 1.05 : 1 / 1.05;
    }
    // Nearly every kill lands inside a save: the child says nothing else between two.
    std::cout << kKills << " kills: " << inFirstSave << " in a child's first save, " << kKills - inFirstSave
              << " in a later one; " << cutShortKept << " left the values of the save they cut short, "
              << kKills - cutShortKept << " the values before it\n";
    EXPECT_TRUE(inFirstSave > 0 && inFirstSave < kKills) << "the kills all came at the same stage";
}

} // namespace
} // namespace snugbox
