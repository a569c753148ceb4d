// The 13 exports called the way a 32-bit host built by another compiler calls them: through cdecl
// pointers, on stacks 16-byte aligned or only 4-byte aligned (as Microsoft's compiler keeps them),
// with the stack pointer, the callee-saved registers, the FPU control word and the direction flag
// checked after each call; and the host's records read back at the host's own offsets, between
// guard bytes.
#include "checked_call.h"
#include "dialog_driver.h"
#include "plugin_fixture.h"

#include <cstring>

namespace {

constexpr uint8_t kGuard = 0xA5;
constexpr int kDikLShift = 0x2A, kDikUp = 0xC8;

// Host memory of `Size` bytes with guard bytes on both sides.
template <size_t Size>
struct Guarded {
    uint8_t before[16];
    uint8_t bytes[Size];
    uint8_t after[16];
    explicit Guarded(uint8_t fill = 0xCC) {
        std::memset(before, kGuard, sizeof before);
        std::memset(bytes, fill, sizeof bytes);
        std::memset(after, kGuard, sizeof after);
    }
    bool GuardsIntact() const {
        for (size_t i = 0; i < 16; ++i)
            if (before[i] != kGuard || after[i] != kGuard) return false;
        return true;
    }
    uint32_t Word32(size_t offset) const {
        uint32_t value;
        std::memcpy(&value, bytes + offset, 4);
        return value;
    }
};

class ExportContractTest : public PluginTest {
protected:
    const void* Export(const char* name) const {
        return reinterpret_cast<const void*>(GetProcAddress(plugin.module, name));
    }

    void ExpectContract(const char* name, const std::vector<uint32_t>& arguments) {
        for (uint32_t misalignment : {0u, 4u, 8u, 12u}) {
            const CallContract contract = CheckedCall(Export(name), CallingConvention::Cdecl, arguments, misalignment);
            EXPECT_EQ(contract.breaches, "") << name << ", stack off the 16-byte boundary by " << misalignment;
        }
    }

    // The dialog entry points, each closed by the user once its dialog is up.
    void ExpectModalContract(const char* name, const char* caption) {
        for (uint32_t misalignment : {0u, 4u}) {
            CallContract contract;
            ModalRun run([&] {
                contract = CheckedCall(Export(name), CallingConvention::Cdecl, {Word(window.Handle())}, misalignment);
            });
            HWND dialog = Dialogs::Find(caption);
            ASSERT_NE(dialog, nullptr) << caption;
            Dialogs::Cancel(dialog);
            ASSERT_TRUE(run.WaitFinished()) << name;
            EXPECT_EQ(contract.breaches, "") << name << ", stack off the 16-byte boundary by " << misalignment;
        }
    }
};

TEST_F(ExportContractTest, EveryExportKeepsTheCdeclContract) {
    fake.AddKeyboard();
    StoreMapping(0, 0);
    ASSERT_TRUE(plugin.Load());
    Guarded<112> info;
    Guarded<4 * 12> slots;
    Guarded<4> state;
    Guarded<64> command(0x5A);
    ExpectContract("GetDllInfo", {Word(info.bytes)});
    ExpectContract("InitiateControllers", {Word(window.Handle()), Word(slots.bytes)});
    ExpectContract("RomOpen", {});
    ExpectContract("GetKeys", {0, Word(state.bytes)});
    ExpectContract("ControllerCommand", {0, Word(command.bytes)});
    ExpectContract("ReadController", {1, Word(command.bytes)});
    ExpectContract("WM_KeyDown", {0x41, 0x001E0001});
    ExpectContract("WM_KeyUp", {0x41, 0xC01E0001});
    ExpectModalContract("DllConfig", "Tavik_Di Plugin Configuration");
    ExpectModalContract("DllTest", "Tavik_Di - Test dialog");
    ExpectModalContract("DllAbout", "About Tavik_DI");
    ExpectContract("RomClosed", {});
    ExpectContract("CloseDLL", {});
    EXPECT_TRUE(info.GuardsIntact() && slots.GuardsIntact() && state.GuardsIntact() && command.GuardsIntact());
    for (uint8_t byte : command.bytes) ASSERT_EQ(byte, 0x5A) << "the ignored entry points wrote to the host's buffer";
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(ExportContractTest, HostRecordsReadBackAtTheHostsOffsets) {
    const int32_t keyboard = fake.AddKeyboard();
    StoreMapping(0, 0);
    ASSERT_TRUE(plugin.Load());

    Guarded<112> info;
    CheckedCall(Export("GetDllInfo"), CallingConvention::Cdecl, {Word(info.bytes)});
    EXPECT_EQ(info.bytes[0], 0x00);  // version 0x0100, little-endian
    EXPECT_EQ(info.bytes[1], 0x01);
    EXPECT_EQ(info.bytes[2], 4);  // controller plug-in
    EXPECT_EQ(info.bytes[3], 0);
    const char name[] = "Tavik_DI by Tavik version 0.4.0 build 14";
    EXPECT_EQ(std::memcmp(info.bytes + 4, name, sizeof name), 0);
    EXPECT_EQ(info.Word32(104), 0u);
    EXPECT_EQ(info.Word32(108), 1u);

    Guarded<4 * 12> slots;
    CheckedCall(Export("InitiateControllers"), CallingConvention::Cdecl, {Word(window.Handle()), Word(slots.bytes)});
    for (size_t slot = 0; slot < 4; ++slot) {
        EXPECT_EQ(slots.Word32(12 * slot), 1u) << "slot " << slot << ": present";
        EXPECT_EQ(slots.Word32(12 * slot + 4), 0u) << "slot " << slot << ": raw data";
        EXPECT_EQ(slots.Word32(12 * slot + 8), 1u) << "slot " << slot << ": no pak";
    }

    fake.SetKey(keyboard, kDikLShift, true);
    fake.SetKey(keyboard, kDikUp, true);
    Guarded<4> state;
    CheckedCall(Export("GetKeys"), CallingConvention::Cdecl, {0, Word(state.bytes)});
    const uint8_t expected[4] = {0x80, 0x00, 0x00, 0x40};  // A, stick centred across, full up
    EXPECT_EQ(std::memcmp(state.bytes, expected, 4), 0)
        << std::hex << int(state.bytes[0]) << ' ' << int(state.bytes[1]) << ' ' << int(state.bytes[2]) << ' '
        << int(state.bytes[3]);
    EXPECT_TRUE(info.GuardsIntact() && slots.GuardsIntact() && state.GuardsIntact());
}

}  // namespace
