// The Generate command and the Clear command.

#include "app/frm_main.h"
#include "engine/rand.h"
#include "options/number_text.h"
#include "options/option_verdicts.h"
#include "platform/local_time.h"
#include "platform/memory_room.h"
#include "platform/runtime_error.h"

namespace morvane {
namespace {

Text ClockText(std::chrono::system_clock::time_point t) { return LocalTimeText(t, "%H:%M:%S"); }

Text Number(long long value) { return Ascii(std::to_string(value)); }

// What the list takes for each line of `longest` characters (its text, its
// layout, the copies kept for undo and for the run), measured with room to
// spare: a run of 10^6 passwords of 6 to 8 characters peaks near 220 MiB.
uint64_t RunBytes(int64_t lines, int longest) { return static_cast<uint64_t>(lines) * (160 + 10 * (longest + 2)); }

constexpr uint64_t kMiB = 1 << 20;

}  // namespace

void frmMain::cmdGenerate_Click() {
    Trap("cmdGenerate_Click", [&] {
        if (!(Choice().passphrases ? IsVerifyPassphrase() : IsVerifyData())) return;
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
        const int32_t requested = ToInt32(LeadingValue(c_.txtNum->GetText()));
        DuplicateIndex run_index;  // the passwords of this run, while duplicates are excluded
        const GenerationChoice choice = Choice();
        std::optional<PassphraseMaker> phrases;
        std::optional<EachTypeRule> rule;
        if (choice.passphrases) {
            if (!IsCreatePassphraseMaker(phrases)) return;
        } else {
            if (!IsCreateArray()) return;
            if (choice.each_type && !IsEachTypePossible(rule)) return;
        }
        // Each password with its line end takes at most the longest length
        // plus two; a passphrase, some ten characters a word.
        const int longest = choice.passphrases
                                ? choice.passphrase.words * (10 + static_cast<int>(choice.passphrase.separator.size())) +
                                      choice.passphrase.digits * 2
                                : ToInt16(LeadingValue(c_.txtMaxLen->GetText()));
        if (!IsMemoryEnough(RunBytes(requested, longest))) return;
        ChangeStatus(kStatusBuilding);
        if (c_.chkDuplicate->Value() == 1) run_index.Reserve(static_cast<size_t>(requested));
        c_.rtfPasswords->ExpectAppends(int64_t{requested} * (longest + 2));
        // A run starts on a line of its own, even after a last line the
        // user typed or edited without ending it.
        const Text& before = c_.rtfPasswords->TextView();
        if (!before.empty() && before.back() != U'\n' && before.back() != U'\r') c_.rtfPasswords->AppendText(U"\r\n");
        // A whole password is drawn again while it misses a chosen type.
        const auto make = [&] {
            Text made;
            if (phrases) {
                phrases->Make(made);
                return made;
            }
            do made = GeneratePassword();
            while (rule && !rule->Accepts(made));
            return made;
        };
        for (int64_t slot = 1; slot <= requested; ++slot) {
            // A command handled at the last yield may have emptied the pool.
            if (!phrases && arrCharacters_.empty()) throw SubscriptError();
            Text password = make();
            for (long long redraws = 0; IsDuplicatePassword(password, run_index); ++redraws) {
                if (redraws == kMostRedrawsForANewPassword)
                    throw RuntimeError(kErrInvalidCall,
                                       "No further distinct password could be found");
                password = make();
            }
            if (c_.chkDuplicate->Value() == 1) run_index.Insert(password);
            password += U"\r\n";
            c_.rtfPasswords->AppendText(password);
            if (lngPasswordCount_ < INT32_MAX) ++lngPasswordCount_;
            int percent = ToInt16(static_cast<double>(slot) / requested * 100.0);
            c_.pbProgress->SetValue(percent);
            c_.txtProgress->SetText(Number(percent) + U"%");
            c_.txtNumPass->SetText(Number(lngPasswordCount_));
            env_.do_events();
        }
    });
}

bool frmMain::IsCreateArray() {
    bool result = false;
    Trap("IsCreateArray", [&] {
        int last = AddCharactersToArray();
        if (last < 0) throw SubscriptError();  // nothing to draw from
        arrCharacters_.resize(static_cast<size_t>(last) + 1);
        if (!IsRemoveCharactersFromArray()) return;
        if (!IsNumMaxPossible()) return;
        result = true;
    });
    return result;
}

bool frmMain::IsDuplicatePassword(const Text& password, const DuplicateIndex& run_index) {
    bool result = false;
    Trap("IsDuplicatePassword", [&] {
        if (c_.chkDuplicate->Value() != 1) return;
        result = run_index.Contains(password);
    });
    return result;
}

bool frmMain::IsNumMaxPossible() {
    bool result = false;
    Trap("IsNumMaxPossible", [&] {
        if (c_.chkDuplicate->Value() != 1) {
            result = true;
            return;
        }
        int min_len = ToInt16(LeadingValue(c_.txtMinLen->GetText()));
        int max_len = ToInt16(LeadingValue(c_.txtMaxLen->GetText()));
        result = IsPossibleEnough(MaxPossiblePasswords(CountDistinct(arrCharacters_), min_len, max_len,
                                                       c_.chkVarLen->Value() == 1));
    });
    return result;
}

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
