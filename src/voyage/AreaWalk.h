#pragma once

#include "ExtendedMath.h"
#include "VoyageErrors.h"

#include <cstdint>
#include <string_view>

namespace tembrel {

// The walk of the voyage's tick through one planned area, without a window or
// a clock: the same steps, rounded to the same 32-bit floats and compared the
// same way, so that what it counts is what a voyage visits. The estimate and
// the coverage preview use it.
class AreaWalk {
public:
    enum class Outcome {
        Ends,      // the row or column ends after count centres
        NeverEnds, // a step makes no progress, or faults at every tick
        TooLong,   // more centres than the limit allowed
    };

    struct Result {
        Outcome outcome = Outcome::Ends;
        std::int64_t count = 0;
    };

    // The tick's step sizes, (width x 37) / 3600 east and (height x 32) / 3600
    // south, from the snapshot texts. Throws what the conversion throws.
    AreaWalk(std::string_view snapshotWidth, std::string_view snapshotHeight,
             char decimalSeparator);

    // The tick's step sizes in degrees for a snapshot size in km: multiply
    // first, then divide, unlike the plan's half-snapshot offsets.
    static Extended EastStep(Extended snapshotWidthKm) {
        return Div(Mul(snapshotWidthKm, 37), 3600);
    }
    static Extended SouthStep(Extended snapshotHeightKm) {
        return Div(Mul(snapshotHeightKm, 32), 3600);
    }

    // One step east or one row south, stored as the tick stores it.
    float StepEast(float longitude) const { return StoreSingle(Add(east_, longitude)); }
    float StepSouth(float latitude) const { return StoreSingle(Sub(latitude, south_)); }

    // The centres of a row from longitude `from` on, as the tick visits them:
    // the first always, then each step east that does not pass endLon, up to
    // a centre at or past endLon. visit(longitude) runs for each centre.
    template <class Visit>
    Result Columns(float from, float endLon, std::int64_t limit, Visit&& visit) const;

    // The rows from latitude `from` on that still lie at or north of endLat.
    // visit(latitude) runs for each row.
    template <class Visit>
    Result Rows(float from, float endLat, std::int64_t limit, Visit&& visit) const;

    Result Columns(float from, float endLon, std::int64_t limit) const {
        return Columns(from, endLon, limit, [](float) {});
    }
    Result Rows(float from, float endLat, std::int64_t limit) const {
        return Rows(from, endLat, limit, [](float) {});
    }

private:
    Extended east_;
    Extended south_;
};

template <class Visit>
AreaWalk::Result AreaWalk::Columns(float from, float endLon, std::int64_t limit,
                                   Visit&& visit) const {
    Result result;
    float longitude = from;
    for (;;) {
        if (result.count == limit) {
            return {Outcome::TooLong, result.count};
        }
        visit(longitude);
        ++result.count;
        if (longitude >= endLon) {
            return result;
        }
        float next = 0;
        try {
            next = StepEast(longitude);
        } catch (const FloatingPointError&) {
            // The tick faults after its write, at every tick, without moving on.
            return {Outcome::NeverEnds, result.count};
        }
        if (next > endLon) {
            return result;
        }
        if (!(next > longitude)) {
            // West or standing still: never past endLon.
            return {Outcome::NeverEnds, result.count};
        }
        longitude = next;
    }
}

template <class Visit>
AreaWalk::Result AreaWalk::Rows(float from, float endLat, std::int64_t limit, Visit&& visit) const {
    Result result;
    float latitude = from;
    while (latitude >= endLat) {
        if (result.count == limit) {
            return {Outcome::TooLong, result.count};
        }
        visit(latitude);
        ++result.count;
        float next = 0;
        try {
            next = StepSouth(latitude);
        } catch (const FloatingPointError&) {
            return {Outcome::NeverEnds, result.count};
        }
        if (!(next < latitude)) {
            // North or standing still: never south of endLat.
            return {Outcome::NeverEnds, result.count};
        }
        latitude = next;
    }
    return result;
}

} // namespace tembrel
