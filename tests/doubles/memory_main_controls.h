#pragma once
// The main window's controls kept in memory: the window's procedures run on
// them without any display, for the benchmark and the tests.
#include <memory>

#include "app/frm_main.h"
#include "tests/doubles/memory_controls.h"

namespace morvane {

struct MemoryMainControls {
    FocusScope focus;
    MemoryCheckBox chkLetter{focus}, chkUpper{focus}, chkLower{focus}, chkNumber{focus},
        chkSpecial{focus}, chkOtherIn{focus};
    MemoryTextBox txtOtherIn{focus};
    MemoryCheckBox chkSpace{focus}, chkAlike{focus}, chkDuplicate{focus}, chkOtherOut{focus};
    MemoryTextBox txtOtherOut{focus};
    MemoryCheckBox chkVarLen{focus};
    MemoryTextBox txtMinLen{focus}, txtMaxLen{focus}, txtNum{focus};
    MemoryTextBox rtfPasswords{focus};
    MemoryProgressBar pbProgress;
    MemoryTextBox txtProgress{focus, true}, txtStatus{focus, true}, txtNumPass{focus, true},
        txtTimeStart{focus, true}, txtTimeComp{focus, true}, txtTimeTot{focus, true};
    MemorySwitch frames[3], buttons[3], menus[7], toolbar;

    MainControls Bind() {
        MainControls c;
        c.chkLetter = &chkLetter;
        c.chkUpper = &chkUpper;
        c.chkLower = &chkLower;
        c.chkNumber = &chkNumber;
        c.chkSpecial = &chkSpecial;
        c.chkOtherIn = &chkOtherIn;
        c.txtOtherIn = &txtOtherIn;
        c.chkSpace = &chkSpace;
        c.chkAlike = &chkAlike;
        c.chkDuplicate = &chkDuplicate;
        c.chkOtherOut = &chkOtherOut;
        c.txtOtherOut = &txtOtherOut;
        c.chkVarLen = &chkVarLen;
        c.txtMinLen = &txtMinLen;
        c.txtMaxLen = &txtMaxLen;
        c.txtNum = &txtNum;
        c.rtfPasswords = &rtfPasswords;
        c.pbProgress = &pbProgress;
        c.txtProgress = &txtProgress;
        c.txtStatus = &txtStatus;
        c.txtNumPass = &txtNumPass;
        c.txtTimeStart = &txtTimeStart;
        c.txtTimeComp = &txtTimeComp;
        c.txtTimeTot = &txtTimeTot;
        for (auto& f : frames) c.startup_enabled.push_back(&f);
        for (auto& b : buttons) c.startup_enabled.push_back(&b);
        for (auto& m : menus) c.startup_enabled.push_back(&m);
        c.startup_enabled.push_back(&toolbar);
        return c;
    }
};

}  // namespace morvane
