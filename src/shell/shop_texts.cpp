#include "shell/shop_texts.h"

#include <array>

namespace {

// Each paragraph names the weapon, says what it does and how fast it fires, and ends in the
// price label; the numbers match the weapons' real power and reload times.
const std::array<std::string, 6> kWeaponDescriptions{
    "Rakety Vzduch/Vzduch. Odpalují se ve dvojicích z obou stran letounu a za letu stále "
    "zrychlují. Každá raketa při zásahu exploduje se silou 50 bodů. Další dvojice je "
    "připravena zhruba po půl sekundě. Cena : ",
    "Mini rakety. Lehké rakety vylétají střídavě zleva a zprava, chvíli kloužou do stran a "
    "pak zažehnou motor. Jedna raketa má sílu jen 20 bodů, zato jich odpálíte deset za "
    "sekundu. Cena : ",
    "Lehký Laser. Dva souběžné paprsky o síle 40 bodů propálí slabší cíle a letí dál, "
    "zastaví je až nepřítel, který vydrží víc. Laser vystřelí zhruba pětkrát za sekundu. "
    "Cena : ",
    "Střední laser. Delší a rychlejší paprsky o síle 70 bodů propálí i odolnější nepřátele "
    "a pokračují k dalšímu cíli. Střílí stejně rychle jako lehký laser, zhruba pětkrát za "
    "sekundu, ale každý výstřel udeří téměř dvakrát silněji. Cena : ",
    "Těžký laser. Mohutné paprsky nic nezastaví: proletí celou oblohou a každému nepříteli, "
    "kterého se dotýkají, berou v každém okamžiku 30 bodů, takže i velké cíle roztaví "
    "během chvilky. Nabíjí se necelou sekundu. Cena : ",
    "Plasmové dělo. Vystřelí dvě plasmové koule, které zasáhnou silou až 200 bodů a "
    "rozprsknou se na šest úlomků. Úlomky zraňují každého, koho zasáhnou, i vás, proto "
    "nestřílejte zblízka. Nabíjí se něco přes sekundu. Cena : ",
};

const std::array<std::string, 4> kCannonDescriptions{
    "20mm Vulcan. Základní rotační kanón, který chrlí souvislý proud střel. Každá střela "
    "ubere jen 2 body, zato jich vypálí přes šestnáct za sekundu. Cena : ",
    "37mm AT. Protitankový kanón s těžkými granáty, z nichž každý ubere 25 bodů. Střílí "
    "pomaleji, necelých pět ran za sekundu, ale každá rána se počítá. Cena : ",
    "30mm DC. Dvouhlavňový kanón pálí dvě střely vedle sebe, každou o síle 15 bodů. Za "
    "sekundu vypálí zhruba dvanáct takových dvojic. Cena : ",
    "30mm \"Trojblok\". Tři hlavně pálí jednu střelu rovně a dvě šikmo do stran, každou o "
    "síle 10 bodů. Vějíř střel pokryje široký pruh oblohy a opakuje se asi čtrnáctkrát za "
    "sekundu. Cena : ",
};

// The labels are the game's own, irregular spacing and typo included.
const std::array<std::string, 6> kWeaponStockLabels{
    "Rakety vzduch/vzduch, cena : ", "Mini raktey, cena :", "Lehký laser, cena :",
    "Středni laser, cena :",         "Těžký laser, cena :", "Plasmové dělo, cena :",
};

const std::array<std::string, 4> kCannonStockLabels{
    "20mm Vulcan, cena : ",
    "37mm AT, cena :",
    "30mm DC, cena :",
    "30mm \"Trojblok\", cena :",
};

const std::array<std::vector<std::string>, 4> kAircraftMemoLines{{
    {"Jaguar", "Tento letoun neni prilis rychly, ", "ovladatelny ani dobre vyzbrojeny, ",
     "nicmene je cenove dostupny.", "Pocet pridavnych zbrani : 1", "Rychlost : 1", "Odolnost : 500",
     "Cena : 50.000"},
    {"F5F", "Oproti Jaguaru ma lepsi ovladatelnost, ", "rychlost i odolnost, a ma i vic ",
     "zbranovych slotu.", "Pocet pridavnych zbrani : 2", "Rychlost : 1", "Odolnost : 500",
     "Cena : 140.000"},
    {"F15", "Tato stihacka ma dobre letove ", "vlastnosti, je odolna a pojme velke ",
     "mnozstvi zbrani.", "Pocet pridavnych zbrani : 3", "Rychlost : 1.3", "Odolnost : 2000",
     "Cena : 300.000"},
    {"F16", "Spickovy stroj, poskytuje velke ", "moznosti na vybaveni zbranemi, je ",
     "rychly, ovladatelny a odolny.", "Pocet pridavnych zbrani : 5", "Rychlost : 2",
     "Odolnost : 3000", "Cena : 400.000"},
}};

template <class T, size_t N>
const T& Pick(const std::array<T, N>& table, int kind) {
  static const T kNone{};
  return kind >= 0 && static_cast<size_t>(kind) < N ? table[static_cast<size_t>(kind)] : kNone;
}

}  // namespace

const std::string& WeaponDescription(int kind) {
  return Pick(kWeaponDescriptions, kind);
}
const std::string& CannonDescription(int kind) {
  return Pick(kCannonDescriptions, kind);
}
const std::string& WeaponStockLabel(int kind) {
  return Pick(kWeaponStockLabels, kind);
}
const std::string& CannonStockLabel(int kind) {
  return Pick(kCannonStockLabels, kind);
}
const std::vector<std::string>& AircraftMemoLines(int kind) {
  return Pick(kAircraftMemoLines, kind);
}
