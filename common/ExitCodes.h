#pragma once

// How every program of the project ends, so that a script tells the cases apart the same way
// whichever program it runs. Needs nothing, so that the simulator can share it.
namespace exitcode {

constexpr int Ok = 0;
// The work was started and did not all get done: a block or page not confirmed, the device
// without settings, a listing that found nothing, a file not written, the simulator's port,
// trace or dump not made.
constexpr int Failed = 1;
// Nothing was done: an option or input was refused, or no device answered.
constexpr int InputError = 2;
// Stopped by a signal: 128 and the signal's number, as a shell reports it. As a problem kind's
// status, it stands for that sum.
constexpr int StoppedBySignal = 128;

} // namespace exitcode
