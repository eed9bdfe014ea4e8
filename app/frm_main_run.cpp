// The Generate command and the Clear command.

#include <algorithm>

#include "app/frm_main.h"
#include "engine/rand.h"
#include "options/number_text.h"
#include "options/option_verdicts.h"
#include "platform/base/local_time.h"
#include "platform/base/memory_room.h"
#include "platform/base/runtime_error.h"

namespace morvane {
namespace {

Text ClockText(std::chrono::system_clock::time_point t) { return LocalTimeText(t, "%H:%M:%S"); }

Text Number(long long value) { return Ascii(std::to_string(value)); }

// What the list takes for each line of `longest` characters (its text, its
// layout, the copies kept for undo and for the run) and the index of a run
// whose passwords are each to be new, as it grows: an upper bound over the
// peaks measured by morvane_bench (MORVANE_BENCH_EVENTS, the window's own
// 40 MiB included): 10^5, 10^6 and 10^7 passwords of 6 to 8 characters peak
// at 60, 225 and 1,856 MiB (3,133 MiB seen on a real display), and this says
// 33, 324 and 3,243 MiB; 10^5, 10^6 and 4 * 10^6 of 128 characters peak at
// 135, 920 and 3,541 MiB, and this says 124, 1,240 and 4,959 MiB.
uint64_t RunBytes(int64_t lines, int longest, bool unique) {
    return static_cast<uint64_t>(lines) * (260 + 8 * (longest + 2) + (unique ? 48 : 0));
}

constexpr uint64_t kMiB = 1 << 20;

}  // namespace

void frmMain::cmdGenerate_Click() {
    Trap("cmdGenerate_Click", [&] {
        const GenerationSettings mode = WindowSettings();
        if (!(mode.from_pool() ? IsVerifyData() : IsVerifyPassphrase())) return;
        auto start = env_.now();
        c_.txtTimeStart->SetText(ClockText(start));
        c_.txtTimeComp->SetText(U"");
        GenerateOutput();
        auto end = env_.now();
        c_.txtTimeComp->SetText(ClockText(end));
        using std::chrono::floor;
        using std::chrono::seconds;
        long long total = (floor<seconds>(end) - floor<seconds>(start)).count();
        c_.txtTimeTot->SetText(Number(total));
        ChangeStatus(kStatusComplete);
    });
}

void frmMain::GenerateOutput() {
    Trap("GenerateOutput", [&] {
        const GenerationSettings settings = Settings();
        if (settings.passphrases()) {
            if (!IsCreatePassphraseMaker()) return;
        } else if (settings.pronounceable()) {
            if (!IsCreatePronounceableMaker()) return;
        } else if (settings.site_rules()) {
            if (!IsCreateRuleGenerator()) return;
        } else {
            if (!IsCreateArray()) return;
            if (settings.each_type() && !IsEachTypePossible()) return;
        }
        const std::shared_ptr<Generator> run = generator_;
        Generator& generator = *run;
        stop_requested_ = false;
        ++runs_going_;
        struct Going {
            int& runs;
            ~Going() { --runs; }
        } going{runs_going_};
        const int32_t requested = settings.count;
        // Each password with its line end takes at most the longest length
        // plus two.
        const int longest = generator.LongestOutput();
        if (!IsMemoryEnough(RunBytes(requested, longest, settings.unique))) return;
        ChangeStatus(kStatusBuilding);
        c_.rtfPasswords->ExpectAppends(int64_t{requested} * (longest + 2));
        // A run starts on a line of its own, even after a last line the
        // user typed or edited without ending it.
        const Text& before = c_.rtfPasswords->TextView();
        if (!before.empty() && before.back() != U'\n' && before.back() != U'\r') c_.rtfPasswords->AppendText(U"\r\n");
        // The passwords go into the list a turn's worth at a time: between
        // two of the window's turns, or one by one without a window. What
        // the user changed at a turn (the lengths, the duplicate box)
        // reaches the passwords still to come.
        Text group;
        int64_t made = 0;
        const auto put_in_list = [&](int64_t lines) {
            c_.rtfPasswords->AppendText(group);
            std::fill(group.begin(), group.end(), U'\0');  // no copy left behind
            group.clear();
            lngPasswordCount_ = static_cast<int32_t>(std::min<int64_t>(INT32_MAX, int64_t{lngPasswordCount_} + lines));
        };
        while (made < requested) {
            if (!settings.passphrases() && !settings.pronounceable()) TakeLengthEdits();
            generator.SetUnique(c_.chkDuplicate->Value() == 1);
            int64_t lines = 0;
            do {
                const Text password = GeneratePassword();
                if (password.empty()) return put_in_list(lines);  // said why; what was made stays
                group += password;
                group += U"\r\n";
                ++lines;
            } while (made + lines < requested && !IsTurnDue());
            put_in_list(lines);
            made += lines;
            int percent = ToInt16(static_cast<double>(made) / requested * 100.0);
            c_.pbProgress->SetValue(percent);
            c_.txtProgress->SetText(Number(percent) + U"%");
            c_.txtNumPass->SetText(Number(lngPasswordCount_));
            env_.do_events();
            generator_ = run;  // after a run started at this turn
            if (stop_requested_) break;
        }
        stop_requested_ = false;
    });
}

bool frmMain::IsTurnDue() const { return !env_.turn_due || env_.turn_due(); }

// Enough different passwords for the count asked; if not, the count is to
// be corrected, with the number there can be.
bool frmMain::IsPossibleEnough(int32_t possible) {
    if (possible >= ToInt32(LeadingValue(c_.txtNum->GetText()))) return true;
    CheckFailure failure = PossibleCountFailure(possible);
    c_.txtNum->SetFocus();
    Message(failure.message, failure.title);
    return false;
}

// Room in memory for the run; if not, the count is to be corrected, with
// what the run would take. A run that ran out of memory inside the toolkit
// would end the program with nothing said.
bool frmMain::IsMemoryEnough(uint64_t needed) {
    const uint64_t room = MemoryRoom();
    if (needed <= room) return true;
    c_.txtNum->SetFocus();
    Message("This many passwords would take about " + std::to_string((needed + kMiB - 1) / kMiB) +
                " MiB of memory, and the program can have " + std::to_string(room / kMiB) +
                " MiB now.\r\nPlease change your number of passwords.",
            "INPUT ERROR: Number of passwords.");
    return false;
}

void frmMain::cmdClear_Click() { Trap("cmdClear_Click", [&] { ClearPasswords(); }); }

void frmMain::ClearPasswords() {
    Trap("ClearPasswords", [&] {
        int answer = env_.box->Show("This will clear all passwords in list!", kOkCancel,
                                    "Clear Passwords:");
        if (answer != kResultOk) return;
        c_.rtfPasswords->SetText(U"");
        Randomize();  // what is left of the random words would tell the next passwords
        lngPasswordCount_ = 0;
        c_.txtNumPass->SetText(U"");
        c_.pbProgress->SetValue(0);
        c_.txtTimeStart->SetText(U"");
        c_.txtTimeComp->SetText(U"");
        c_.txtTimeTot->SetText(U"");
        ChangeStatus(kStatusReady);
    });
}

}  // namespace morvane
