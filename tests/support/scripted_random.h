#pragma once
// A random source that returns the values a test gives it, in order, so that every
// draw of a rule (piece size, shape, colour, turn, background tile) can be pinned.

#include <gtest/gtest.h>

#include <deque>
#include <initializer_list>

#include "rules/random.h"

namespace snugbox::testing {

class ScriptedRandom final : public RandomSource {
public:
    ScriptedRandom() = default;
    ScriptedRandom(std::initializer_list<double> values) : values_(values) {}

    void push(double value) { values_.push_back(value); }
    void push(std::initializer_list<double> values) { values_.insert(values_.end(), values); }
    std::size_t remaining() const { return values_.size(); }
    int draws() const { return draws_; }
    int reseeds() const { return reseeds_; }

    // Running out of scripted values is a test failure; 0 is returned so the rule can go on.
    double next() override
    {
        ++draws_;
        if (values_.empty()) {
            ADD_FAILURE() << "the rule drew more random values than the test scripted";
            return 0.0;
        }
        const double value = values_.front();
        values_.pop_front();
        return value;
    }
    void reseedFromClock() override { ++reseeds_; }

private:
    std::deque<double> values_;
    int draws_ = 0;
    int reseeds_ = 0;
};

} // namespace snugbox::testing
