// What the operator chose on the main window. The run and the transfers read it while they work.
// Folder and name texts are UTF-8 (as typed).
#pragma once

#include <string>

namespace app {

inline constexpr const char* kDefaultMirkadoSource = "C:\\TORVANEX\\MIRKADO4\\DATA";
inline constexpr const char* kDefaultKobaltinSource = "C:\\TORVANEX\\ZKT3\\DATA";
inline constexpr const char* kDefaultTarget = "C:\\TORVANEX\\SELVANTO5\\DATA";

struct Options {
    int RadioSURUM = 0;  // 0: Mirkado 4 (InterBase source), 1: Kobaltin (Paradox source)
    std::string DKaynak = kDefaultMirkadoSource;
    std::string DrHedef = kDefaultTarget;
    std::string Edit1 = "Yetkili";  // "Kaydeden Personel"
    bool CheckCARI = true;
    bool CheckCRBK = true;
    bool CheckCRGR = true;
    bool CheckSTOK = true;
    bool CheckSTBK = true;
    bool CheckSTGR = true;
    bool CheckOTEL = true;
    bool CheckTAKSIT = true;

    bool interBase() const { return RadioSURUM == 0; }
    bool paradox() const { return RadioSURUM == 1; }
};

}  // namespace app
