#include "rules/best_scores.h"

#include <algorithm>
#include <utility>

#include "rules/game_state.h"

namespace snugbox {

namespace {
constexpr std::int16_t kNoPlace = kBestScorePlaces + 1;
}

std::int16_t rankOfScore(const GameState& state, std::int16_t mode, std::int32_t score)
{
    if (!state.bestScores.contains(mode)) {
        return kNoPlace;
    }
    const BestScoreTable& table = state.bestScores[mode];
    for (int place = 1; place <= kBestScorePlaces; ++place) {
        if (table.scores[place] < score) {
            return static_cast<std::int16_t>(place);
        }
    }
    return kNoPlace;
}

void insertBestScore(GameState& state, std::int16_t mode, std::int32_t score,
                     const std::string& name)
{
    const std::int16_t place = rankOfScore(state, mode, score);
    if (place > kBestScorePlaces) {
        return;
    }
    BestScoreTable& table = state.bestScores[mode];
    for (int below = kBestScorePlaces; below > place; --below) {
        table.scores[below] = table.scores[below - 1];
        table.names[below] = std::move(table.names[below - 1]);
    }
    table.scores[place] = score;
    table.names[place] = name;
}

std::string withoutInvisibleMarks(std::string_view name)
{
    constexpr std::string_view kMark = "\xEF\xBB\xBF";   // U+FEFF in UTF-8
    std::string kept;
    kept.reserve(name.size());
    for (std::size_t at = 0; at < name.size();) {
        if (name.substr(at, kMark.size()) == kMark) {
            at += kMark.size();
        } else {
            kept += name[at++];
        }
    }
    return kept;
}

std::size_t characterCount(std::string_view name)
{
    return static_cast<std::size_t>(std::ranges::count_if(name, startsCharacter));
}

} // namespace snugbox
