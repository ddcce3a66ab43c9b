#include "base/mappingguard.h"

#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <mutex>

namespace varnel {

namespace {

// Mappings alive at once: files a search reads ahead plus open collections.
constexpr size_t kSlots = 1024;

struct Slot {
  std::atomic<uintptr_t> start{0};
  std::atomic<size_t> size{0};
  std::atomic<bool> cut{false};
  // The lowest address of the pages found gone; zeros are mapped from there to the end.
  std::atomic<uintptr_t> lostFrom{UINTPTR_MAX};
};

Slot slots[kSlots];
struct sigaction previousAction;
// Serialises registering; the handler only reads the slots.
std::mutex registryMutex;
// Set once any guarded mapping lost pages, so that Lost costs nothing until then.
std::atomic<bool> anyLost{false};

Slot* SlotHolding(uintptr_t address) {
  for (Slot& slot : slots) {
    uintptr_t start = slot.start.load(std::memory_order_acquire);
    if (start && address >= start && address - start < slot.size.load(std::memory_order_relaxed))
      return &slot;
  }
  return nullptr;
}

Slot* SlotAt(const void* start) {
  auto address = reinterpret_cast<uintptr_t>(start);
  for (Slot& slot : slots)
    if (slot.start.load(std::memory_order_acquire) == address) return &slot;
  return nullptr;
}

// Runs on the thread whose read failed; only async-signal-safe calls.
void OnBusError(int signal, siginfo_t* info, void* context) {
  auto address = reinterpret_cast<uintptr_t>(info->si_addr);
  Slot* slot = SlotHolding(address);
  if (slot) {
    uintptr_t page = uintptr_t(sysconf(_SC_PAGESIZE));
    uintptr_t from = address / page * page;
    uintptr_t end = slot->start.load(std::memory_order_relaxed) + slot->size.load();
    void* zeros = mmap(reinterpret_cast<void*>(from), size_t(end - from), PROT_READ,
                       MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
    if (zeros != MAP_FAILED) {
      uintptr_t lowest = slot->lostFrom.load();
      while (from < lowest && !slot->lostFrom.compare_exchange_weak(lowest, from)) {
      }
      slot->cut.store(true);
      anyLost.store(true);
      return;  // the read is made again, on the zero pages
    }
  }
  // Not ours: the action that was there before, or the default, which ends the process.
  if (previousAction.sa_flags & SA_SIGINFO && previousAction.sa_sigaction) {
    previousAction.sa_sigaction(signal, info, context);
    return;
  }
  if (previousAction.sa_handler != SIG_DFL && previousAction.sa_handler != SIG_IGN &&
      previousAction.sa_handler) {
    previousAction.sa_handler(signal);
    return;
  }
  // The read is made again and ends the process.
  ::signal(signal, SIG_DFL);
}

void InstallHandler() {
  struct sigaction action = {};
  action.sa_sigaction = OnBusError;
  action.sa_flags = SA_SIGINFO | SA_NODEFER;
  sigemptyset(&action.sa_mask);
  sigaction(SIGBUS, &action, &previousAction);
}

}  // namespace

bool MappingGuard::Register(const void* start, size_t size) {
  static std::once_flag installed;
  std::call_once(installed, InstallHandler);
  std::lock_guard lock(registryMutex);
  for (Slot& slot : slots) {
    if (slot.start.load(std::memory_order_relaxed) != 0) continue;
    slot.size.store(size, std::memory_order_relaxed);
    slot.cut.store(false, std::memory_order_relaxed);
    slot.lostFrom.store(UINTPTR_MAX, std::memory_order_relaxed);
    // The start, stored last, publishes the slot to the handler.
    slot.start.store(reinterpret_cast<uintptr_t>(start), std::memory_order_release);
    return true;
  }
  return false;
}

void MappingGuard::Unregister(const void* start) {
  std::lock_guard lock(registryMutex);
  if (Slot* slot = SlotAt(start)) slot->start.store(0, std::memory_order_release);
}

bool MappingGuard::WasCut(const void* start) {
  Slot* slot = SlotAt(start);
  return slot && slot->cut.load();
}

bool MappingGuard::Lost(const void* bytes, size_t size) {
  if (!anyLost.load(std::memory_order_relaxed) || size == 0) return false;
  auto address = reinterpret_cast<uintptr_t>(bytes);
  Slot* slot = SlotHolding(address);
  return slot && slot->cut.load() && address + size > slot->lostFrom.load();
}

}  // namespace varnel
