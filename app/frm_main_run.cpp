// The Generate command and the Clear command.

#include "app/frm_main.h"
#include "engine/rand.h"
#include "options/number_text.h"
#include "options/option_verdicts.h"
#include "platform/local_time.h"
#include "platform/runtime_error.h"

namespace morvane {
namespace {

// Redraws of one slot after which the run gives up instead of hanging,
// e.g. when the length fields were edited during the run.

Text ClockText(std::chrono::system_clock::time_point t) { return LocalTimeText(t, "%H:%M:%S"); }

Text Number(long long value) { return Ascii(std::to_string(value)); }

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
        ChangeStatus(kStatusBuilding);
        if (c_.chkDuplicate->Value() == 1) run_index.Reserve(static_cast<size_t>(requested));
        // Each password with its line end takes at most the longest length
        // plus two; a passphrase, some ten characters a word.
        const int longest = choice.passphrases
                                ? choice.passphrase.words * (10 + static_cast<int>(choice.passphrase.separator.size())) +
                                      choice.passphrase.digits * 2
                                : ToInt16(LeadingValue(c_.txtMaxLen->GetText()));
        c_.rtfPasswords->ExpectAppends(int64_t{requested} * (longest + 2));
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
