#pragma once

// A fault hook in the file layer, for tests that check what every failure leaves on disk. Every
// create, write, fsync (of a file or a folder), close, rename (a link to a new name counts as
// one) and unlink of the file layer passes through it; when armed it counts the calls of each kind
// and makes the k-th call of one kind fail, write short, or stand for the death of the process.
// Unarmed it costs one test of a flag.

#include <cerrno>

namespace kov::fault {

enum class Call { Create, Write, Fsync, Close, Rename, Unlink };
inline constexpr int kCallKinds = 6;

enum class Effect {
    Fail,        // the call fails with `error` and does nothing
    ShortWrite,  // a write stores half its bytes, and the next write fails with ENOSPC
    CrashBefore, // the process dies before the call
    CrashAfter,  // the call is made, then the process dies
};

struct Plan {
    Call call = Call::Create;
    int nth = 0; // the k-th call of that kind (1-based); 0 only counts
    Effect effect = Effect::Fail;
    int error = EIO;
};

// Thrown at the point where the process dies. It is no std::exception, so no handler that
// reports file errors takes it; from then on every call of the file layer throws it again and
// does nothing, so no clean-up runs that a dead process would not have run.
struct SimulatedCrash {};

void arm(const Plan& plan);
void disarm();
// The calls of one kind since the hook was armed.
int calls(Call call);
bool crashed();

// Arms the hook for one scope.
class Armed {
public:
    explicit Armed(const Plan& plan) { arm(plan); }
    ~Armed() { disarm(); }
    Armed(const Armed&) = delete;
    Armed& operator=(const Armed&) = delete;
};

} // namespace kov::fault
