#pragma once

#include <cstdint>

namespace tamlo {

// Counts the program's calls to the global operator new. Linking allocation_counter.cpp into an
// executable replaces operator new and delete for that whole executable, so a measurement sees
// every allocation made between two readings, whoever makes it.
class AllocationCounter {
public:
    // Allocations made so far by the whole program.
    static std::uint64_t Count();
};

} // namespace tamlo
