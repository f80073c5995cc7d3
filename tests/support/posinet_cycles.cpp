#include "tests/support/posinet_cycles.h"

#include "tests/support/posinet_driver.h"

#include "posinet/portable/element_table.h"
#include "posinet/portable/records.h"

#include <cstdlib>

namespace e2e {

namespace {

// How far an element has moved from its start, as ticks and the step of one tick.
struct Motion {
    long ticks = -1; // -1 when the offset is no straight run of whole steps
    int32_t stepLongitude = 0;
    int32_t stepLatitude = 0;
};

Motion MotionOf(const korva::PositionRecord& record) {
    const StartPosition start = BuiltInStart(record.element);
    const int32_t dLongitude = record.longitude - start.longitude;
    const int32_t dLatitude = record.latitude - start.latitude;
    Motion motion;
    if ((dLongitude != 0) == (dLatitude != 0)) {
        return motion;
    }
    const int32_t distance = std::abs(dLongitude + dLatitude);
    if (distance % korva::kTickStep != 0) {
        return motion;
    }
    motion.ticks = distance / korva::kTickStep;
    motion.stepLongitude = dLongitude / static_cast<int32_t>(motion.ticks);
    motion.stepLatitude = dLatitude / static_cast<int32_t>(motion.ticks);
    return motion;
}

std::string At(size_t index) {
    return "datum " + std::to_string(index) + ": ";
}

} // namespace

CycleRun CheckCycles(const std::vector<DdeTestClient::Datum>& data, size_t from) {
    CycleRun run;
    Motion steps[korva::kElementCount];
    int dueElement = 0;
    long cycleTick = -1;
    int64_t cycleArrival = 0;
    for (size_t i = from; i < data.size(); ++i) {
        const DdeTestClient::Datum& datum = data[i];
        const auto record = korva::DecodePositionRecord(datum.bytes.data(), datum.bytes.size());
        if (!record || datum.bytes.size() != korva::kPositionRecordSize ||
            datum.format != korva::kPositionFormat || record->kind != korva::kPositionKind ||
            record->element >= korva::kElementCount) {
            run.fault = At(i) + "not a position record of an element";
            return run;
        }
        if (datum.item != korva::ElementItemName(record->element)) {
            run.fault = At(i) + "item " + datum.item + " carries element " +
                        std::to_string(record->element);
            return run;
        }
        if (record->element != dueElement) {
            run.fault =
                At(i) + datum.item + " where Element" + std::to_string(dueElement) + " was due";
            return run;
        }
        const Motion motion = MotionOf(*record);
        Motion& step = steps[record->element];
        if (motion.ticks <= 0) {
            run.fault = At(i) + datum.item + " is not a whole number of steps from its start";
            return run;
        }
        if (step.ticks < 0) {
            step = motion;
        } else if (motion.stepLongitude != step.stepLongitude ||
                   motion.stepLatitude != step.stepLatitude) {
            run.fault = At(i) + datum.item + " changed its heading";
            return run;
        }
        if (dueElement == 0) {
            if (run.lastTick >= 0 && motion.ticks != run.lastTick + 1) {
                run.fault = At(i) + "tick " + std::to_string(motion.ticks) + " follows tick " +
                            std::to_string(run.lastTick);
                return run;
            }
            cycleTick = motion.ticks;
            cycleArrival = datum.microseconds;
        } else if (motion.ticks != cycleTick) {
            run.fault = At(i) + datum.item + " is at tick " + std::to_string(motion.ticks) +
                        " in the cycle of tick " + std::to_string(cycleTick);
            return run;
        }
        if (++dueElement == korva::kElementCount) {
            dueElement = 0;
            if (run.firstTick < 0) {
                run.firstTick = cycleTick;
            }
            run.lastTick = cycleTick;
            ++run.completeCycles;
            run.arrivals.push_back(cycleArrival);
        }
    }
    return run;
}

} // namespace e2e
