#include "tools/help_page_generator.h"

#include <cstdio>
#include <sstream>

#include "rules/game_state.h"
#include "rules/rounding.h"

namespace snugbox::tools {
namespace {

constexpr int kMostLinesAtOnce = 18;   // nine rows and nine columns

int linePoints(int lines) { return 5 * lines * (lines + 1); }

// What the player waits between two pieces: the timer ticks twelve times per piece, each
// tick a whole number of milliseconds.
int secondsTimesHundred(int periodMs)
{
    const int tick = nearest(periodMs / static_cast<double>(pumpMaxSizeDefault));
    return nearest(tick * pumpMaxSizeDefault / 10.0);
}

std::string seconds(int periodMs)
{
    const int hundredths = secondsTimesHundred(periodMs);
    char text[32];
    std::snprintf(text, sizeof text, "%d.%02d&nbsp;s", hundredths / 100, hundredths % 100);
    return text;
}

const char* const kTileNames[] = {"slate", "woven moss", "oak planks", "plum inlay", "brick rings"};

void writeHead(std::ostringstream& page)
{
    page << R"(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>Snugbox help</title>
<style>
  body { margin: 0; background: #1c2440; color: #e6e6d2; font: 16px/1.55 "Liberation Sans", Arial, sans-serif; }
  main { max-width: 46em; margin: 0 auto; padding: 1.5em 1.5em 3em; }
  h1 { color: #f0e8a0; font-size: 2.4em; margin: 0.2em 0 0; letter-spacing: 0.02em; }
  h1 + p { color: #b2c0e6; margin-top: 0; }
  h2 { color: #e6e6a0; border-bottom: 1px solid #aaaa64; padding-bottom: 0.15em; margin-top: 1.8em; }
  a { color: #a0c8ff; }
  nav ul { padding-left: 1.2em; columns: 2; }
  table { border-collapse: collapse; margin: 0.8em 0; }
  th, td { border: 1px solid #4a6bad; padding: 0.25em 0.8em; text-align: right; }
  th { background: #2c3a66; color: #f0e8a0; }
  td:first-child, th:first-child { text-align: center; }
  td.text, th.text { text-align: left; }
  table.points td:nth-child(3) { text-align: center; }
  kbd { background: #32323a; border: 1px solid #aaaa64; border-radius: 4px; padding: 0 0.35em; font-size: 0.9em; }
  .note { color: #b2c0e6; }
</style>
</head>
<body>
<main>
<h1>Snugbox</h1>
<p>A puzzle of snug fits: take the pieces as they come, turn them and fit them on the board.</p>
<nav>
<ul>
  <li><a href="#play">How to play</a></li>
  <li><a href="#controls">Mouse and keys</a></li>
  <li><a href="#scoring">Scoring</a></li>
  <li><a href="#levels">The ten levels</a></li>
  <li><a href="#pause">Pause</a></li>
  <li><a href="#scores">Best scores</a></li>
</ul>
</nav>
)";
}

void writePlay(std::ostringstream& page)
{
    page << R"(
<h2 id="play">How to play</h2>
<p>Press <strong>New Game</strong> to start. Pieces of one to six squares arrive one after another in the
column of five dispenser slots at the right of the board. The gauge above the board fills up in twelve
steps; when it is full, the next piece drops into the first free slot.</p>
<p>Click a slot to take its piece. The piece follows the mouse, with its shadow, and you hold it by the
square you see under the pointer. Drop it on the 9&nbsp;&times;&nbsp;9 board where every one of its squares
lands on a free cell.</p>
<p>Every row and every column that becomes full is cleared at once, and that is how you score: a piece
placed without completing a line scores nothing. Squares stay on the board from one level to the next,
so keep the board tidy.</p>
<p>The game is over when a piece is due and all five slots are full: while the dispenser is full the gauge
blinks red as a warning. The game also ends, happily, when you finish the tenth level.</p>
)";
}

void writeControls(std::ostringstream& page)
{
    page << R"(
<h2 id="controls">Mouse and keys</h2>
<table>
<tr><th>Input</th><th class="text">What it does</th></tr>
<tr><td>Left button on a slot</td><td class="text">Takes the slot's piece. With a piece in hand it swaps the two
pieces, or puts yours back into an empty slot.</td></tr>
<tr><td>Left button on the board</td><td class="text">Drops the piece you carry, if every square fits on a
free cell. If it does not fit, nothing happens and you keep the piece.</td></tr>
<tr><td>Right button</td><td class="text">Turns the piece you carry a quarter turn clockwise, wherever the pointer
is. Quick presses turn it again and again.</td></tr>
<tr><td><kbd>Esc</kbd></td><td class="text">Hides the game window; a game in progress is paused.</td></tr>
<tr><td><kbd>Enter</kbd></td><td class="text">Resumes a paused game.</td></tr>
</table>
<p>The buttons at the left of the window start a new game (also in the middle of one, which is dropped
without a score), show the best scores, pause, open this page and exit.</p>
)";
}

void writeScoring(std::ostringstream& page)
{
    page << R"(
<h2 id="scoring">Scoring</h2>
<p>Clearing <var>L</var> lines (rows and columns together) with one piece scores
5&nbsp;&times;&nbsp;<var>L</var>&nbsp;&times;&nbsp;(<var>L</var>&nbsp;+&nbsp;1) points, so several lines at once
are worth far more than the same lines one by one. A cell where a full row crosses a full column counts
for both.</p>
<table class="points">
<tr><th>Lines at once</th><th>Points</th><th>Lines at once</th><th>Points</th></tr>
)";
    // Two halves side by side keep the eighteen rows short.
    const int half = kMostLinesAtOnce / 2;
    for (int lines = 1; lines <= half; ++lines) {
        page << "<tr><td>" << lines << "</td><td>" << linePoints(lines) << "</td><td>" << lines + half << "</td><td>"
             << linePoints(lines + half) << "</td></tr>\n";
    }
    page << "</table>\n";
}

void writeLevels(std::ostringstream& page)
{
    GameState state;
    fillLevelTable(state);
    page << R"(
<h2 id="levels">The ten levels</h2>
<p>Each level has a target: when the points you made in the level reach it, the next level starts at
once, with its own pace and a new board pattern. Points beyond the target count for your total but not
for the next level. Your squares stay where they are.</p>
<table>
<tr><th>Level</th><th>Points to finish</th><th>A new piece every</th><th class="text">Board</th></tr>
)";
    for (int level = 1; level <= kLevelCount; ++level) {
        const LevelSpec& entry = state.levels[level];
        page << "<tr><td>" << level << "</td><td>" << entry.targetScore << "</td><td>" << seconds(entry.periodMs)
             << "</td><td class=\"text\">" << kTileNames[(level - 1) % 5] << "</td></tr>\n";
    }
    page << R"(</table>
<p class="note">Level 6 gives you a breather after level 5, and level 7 is a short sprint. After level 10
the game is won.</p>
)";
}

void writePauseAndScores(std::ostringstream& page)
{
    page << R"(
<h2 id="pause">Pause</h2>
<p>Press <strong>Pause</strong> during a game, or <kbd>Esc</kbd>. The board is hidden while the game is paused,
so nobody plans ahead for free. Click anywhere in the window, click the pause message or press
<kbd>Enter</kbd> to play on.</p>

<h2 id="scores">Best scores</h2>
<p>The eight best scores are kept with the players' names. When your game ends with a score that earns a
place, you are asked for your name (up to 19 characters) and the table is shown. <strong>Best Scores</strong>
shows it at any time; <strong>Clear Scores</strong> there empties it. The table is saved when you leave the
game.</p>
</main>
</body>
</html>
)";
}

} // namespace

std::string generateHelpPage()
{
    std::ostringstream page;
    writeHead(page);
    writePlay(page);
    writeControls(page);
    writeScoring(page);
    writeLevels(page);
    writePauseAndScores(page);
    return page.str();
}

} // namespace snugbox::tools
