#pragma once

namespace sulcan {

// lo <= v <= hi; a NaN is never in range, so a corrupt float is refused like any other.
template <typename T>
constexpr bool InClosedRange(T v, T lo, T hi) {
    return v >= lo && v <= hi;
}

}  // namespace sulcan
