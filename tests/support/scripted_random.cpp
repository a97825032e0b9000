#include "tests/support/scripted_random.h"

#include <gtest/gtest.h>

namespace snugbox::testing {

double ScriptedRandom::next()
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

} // namespace snugbox::testing
