#include "arithmetic/drillrules.h"

#include "platform/runtime.h"

namespace drill {

int factor(short lowfactor, short factorspan, float r)
{
    // In double: in single precision 10 * 0.99999994 + 10 rounds up to 20,
    // a factor outside the range.
    return int(platform::Int(double(factorspan) * double(r) + lowfactor));
}

bool readyToJudge(int product, double typed)
{
    if (product < 10)
        return true;
    double upper = 10;
    while (upper <= product)
        upper *= 10;
    // A value of the product's size: 9 < v < 100 for two digits, 99 < v < 1000 for three.
    return upper / 10 - 1 < typed && typed < upper;
}

} // namespace drill
