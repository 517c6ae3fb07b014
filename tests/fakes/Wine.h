#pragma once

namespace tessaly::testing {

// True when a Windows test program runs under Wine rather than on Windows; false elsewhere. Tests
// skip what Wine lacks only there, and name the missing call.
bool RunningUnderWine();

}  // namespace tessaly::testing
