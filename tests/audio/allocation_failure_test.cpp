// A tone buffer that cannot be allocated. This executable runs with its
// address space limited (tests/audio/CMakeLists.txt), so the test can take
// all of it and every free block of the heap, and GlobalAlloc really fails.
#include "sound/wave_out.h"

#include "tests/audio/tone_window.h"
#include "tests/support/app_window.h"

#include <gtest/gtest.h>

namespace {

constexpr int MAX_HOLDS = 8192;
void *g_reserved[MAX_HOLDS];
int g_reserved_count;
void *g_blocks[MAX_HOLDS];
int g_block_count;

// No allocation of the test's own may happen between this and ReleaseMemory.
void ExhaustMemory() {
    for (SIZE_T size = SIZE_T(1) << 32; size >= 0x10000; size /= 2) {
        while (g_reserved_count < MAX_HOLDS) {
            void *p = VirtualAlloc(nullptr, size, MEM_RESERVE, PAGE_NOACCESS);
            if (p == nullptr) {
                break;
            }
            g_reserved[g_reserved_count++] = p;
        }
    }
    HANDLE heap = GetProcessHeap();
    for (SIZE_T size = SIZE_T(1) << 24; size >= 1024; size /= 2) {
        while (g_block_count < MAX_HOLDS) {
            void *p = HeapAlloc(heap, 0, size);
            if (p == nullptr) {
                break;
            }
            g_blocks[g_block_count++] = p;
        }
    }
}

void ReleaseMemory() {
    while (g_block_count > 0) {
        HeapFree(GetProcessHeap(), 0, g_blocks[--g_block_count]);
    }
    while (g_reserved_count > 0) {
        VirtualFree(g_reserved[--g_reserved_count], 0, MEM_RELEASE);
    }
}

TEST(ToneBufferAllocation, FailureLeavesPlayIdleAndLaterPlaysWork) {
    HWND window = CreateToneWindow();
    ASSERT_NE(window, nullptr);
    g_state.base_freq[0] = 220.0;
    g_state.score = SCORE_START;
    g_state.high_key[0] = 1;
    g_state.low_key[0] = 2;
    g_state.volume = 90;
    ASSERT_TRUE(OpenWaveOut(window, &g_state));

    ExhaustMemory();
    HGLOBAL probe = GlobalAlloc(GMEM_ZEROINIT, TONE_BUFFER_BYTES);
    bool played = PlayTone(&g_state, 3);
    BYTE playing = g_state.playing;
    void *buffer = g_state.wave_buffer;
    if (probe != nullptr) {
        GlobalFree(probe);
    }
    ReleaseMemory();

    ASSERT_EQ(probe, nullptr) << "memory was not used up: the failure was not provoked";
    EXPECT_FALSE(played);
    EXPECT_EQ(playing, 0);
    EXPECT_EQ(buffer, nullptr);

    ASSERT_TRUE(PlayTone(&g_state, 3));
    ASSERT_TRUE(WaitForToneEnd(&g_state));
    EXPECT_EQ(g_state.wave_buffer, nullptr);
    EXPECT_TRUE(CloseWaveOut(&g_state));
    DestroyWindow(window);
}

} // namespace
