#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "base/memory.h"
#include "base/patch.h"
#include "base/pe_image.h"

namespace artwheel {
namespace {

uint64_t Address(const void* p) { return reinterpret_cast<uint64_t>(p); }

TEST(IsReadable, FollowsCommitProtectionAndRegionEnd) {
  const SIZE_T page = 4096;
  auto* block =
      static_cast<unsigned char*>(VirtualAlloc(nullptr, 3 * page, MEM_RESERVE, PAGE_NOACCESS));
  ASSERT_NE(block, nullptr);
  ASSERT_NE(VirtualAlloc(block, page, MEM_COMMIT, PAGE_READWRITE), nullptr);
  ASSERT_NE(VirtualAlloc(block + page, page, MEM_COMMIT, PAGE_READONLY | PAGE_GUARD), nullptr);

  EXPECT_TRUE(IsReadable(Address(block), page));
  EXPECT_TRUE(IsReadable(Address(block + page - 4), 4));
  EXPECT_FALSE(IsReadable(Address(block + page - 4), 8));  // runs into the guard page
  EXPECT_FALSE(IsReadable(Address(block + page), 4));      // guard
  EXPECT_FALSE(IsReadable(Address(block + 2 * page), 4));  // reserved only
  EXPECT_FALSE(IsReadable(0, 4));
  EXPECT_FALSE(IsReadable(~0ull - 2, 8));  // wraps around

  DWORD old = 0;
  ASSERT_TRUE(VirtualProtect(block, page, PAGE_NOACCESS, &old));
  EXPECT_FALSE(IsReadable(Address(block), 4));
  VirtualFree(block, 0, MEM_RELEASE);
}

TEST(IsObjectPointer, NeedsAlignmentAnd256ReadableBytes) {
  alignas(16) static unsigned char object[512];
  EXPECT_TRUE(IsObjectPointer(Address(object)));
  EXPECT_FALSE(IsObjectPointer(Address(object) + 4));
  EXPECT_FALSE(IsObjectPointer(0));
  void* reserved = VirtualAlloc(nullptr, 4096, MEM_RESERVE, PAGE_READWRITE);
  EXPECT_FALSE(IsObjectPointer(Address(reserved)));
  VirtualFree(reserved, 0, MEM_RELEASE);
}

TEST(StoreCodePointer, WritesThroughAReadOnlyPageAndRestoresItsProtection) {
  auto* page =
      static_cast<void**>(VirtualAlloc(nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READONLY));
  ASSERT_NE(page, nullptr);
  int marker = 0;
  EXPECT_TRUE(StoreCodePointer(&page[3], &marker, TableKind::kImport));
  EXPECT_EQ(page[3], &marker);
  MEMORY_BASIC_INFORMATION info = {};
  VirtualQuery(page, &info, sizeof info);
  EXPECT_EQ(info.Protect, static_cast<DWORD>(PAGE_READONLY));
  VirtualFree(page, 0, MEM_RELEASE);
}

struct Found {
  bool byName = false;
  bool slotMatches = false;
  int entries = 0;
};

TEST(ForEachImport, FindsThisProgramsKernel32ImportsByNameWithTheirLiveSlots) {
  Found found;
  ForEachImport(
      GetModuleHandleA(nullptr), [](const char* dll) { return _stricmp(dll, "kernel32.dll") == 0; },
      [](const ImportEntry& entry, void* context) {
        auto* result = static_cast<Found*>(context);
        ++result->entries;
        if (entry.name != nullptr && std::strcmp(entry.name, "GetTickCount64") == 0) {
          result->byName = true;
          result->slotMatches =
              *entry.slot == reinterpret_cast<void*>(GetProcAddress(
                                 GetModuleHandleA("kernel32.dll"), "GetTickCount64"));
        }
      },
      &found);
  EXPECT_GT(found.entries, 10);
  EXPECT_TRUE(found.byName);
  EXPECT_TRUE(found.slotMatches);
}

TEST(ForEachImport, IgnoresAModuleWithoutHeaders) {
  static unsigned char notAnImage[4096] = {};
  int visits = 0;
  ForEachImport(
      reinterpret_cast<HMODULE>(notAnImage), [](const char*) { return true; },
      [](const ImportEntry&, void* context) { ++*static_cast<int*>(context); }, &visits);
  ForEachImport(
      nullptr, [](const char*) { return true; },
      [](const ImportEntry&, void* context) { ++*static_cast<int*>(context); }, &visits);
  EXPECT_EQ(visits, 0);
}

}  // namespace
}  // namespace artwheel
