#include "shell/story.h"

#include <array>

const std::vector<std::string>& IntroStoryLines() {
  static const std::vector<std::string> lines = {
      "",
      "",
      "         Noční můra pro všechny pozemšťany..........",
      " V roce 2026 byly poprvé observatořemi na všech kontinentech zachyceny obří lodě, které "
      "se z hlubin vesmíru blížily k Zemi. Lidstvo jásalo: po staletích hledání jsme konečně "
      "nebyli sami a mnozí věřili, že návštěvníci přinášejí poznání, které z naší planety "
      "udělá ráj.",
      "        Ale ukázalo se, že onen ráj není otevřen pro nás.......",
      "        Mimozemské lodě nereagovaly na žádné pokusy o spojení. Usadily se na oběžné dráze "
      "a jedna po druhé začaly k povrchu vysílat menší plavidla, která obsazovala pouště, hory "
      "i oceány. Vlády mlčely a armády čekaly na rozkazy, které nepřicházely.",
      "",
      "        A pak, v prosinci 2027, udeřily. Během jediné noci padly obranné systémy všech "
      "velmocí, letiště hořela a města se ocitla bez proudu a bez spojení. Nad každým "
      "kontinentem se usadila obrovská mateřská loď, pod jejíž ochranou hlídkují roje "
      "bojových strojů.",
      "",
      "        Nastala doba temna. Lidé se skrývají ve sklepech a v lesích, a kdo se postaví na "
      "odpor, toho smete palba z nebe. Zbytky armád se rozpadly a o svobodě se už jen šeptá.",
      "",
      "        Jen v odlehlých a opuštěných končinách přežily hrstky pilotů a mechaniků. "
      "V zapomenutém hangáru jste společně dali dohromady několik starých stíhaček a začali "
      "shromažďovat zbraně, které okupanti přehlédli.",
      "",
      "        V tvé hlavě se časem vylíhnul zoufalý plán: napadnout mateřské lodě jednu po "
      "druhé, dokud jsou roztroušené po celém světě. Když padne mateřská loď, její svaz "
      "ztratí velení a území pod ní bude opět svobodné.",
      "",
      "        Doufáš, že malá osamocená stíhačka proklouzne tam, kam by se celá letka "
      "nedostala. Za každý sestřelený stroj ti odboj zaplatí a za vydělané kredity si "
      "v hangáru koupíš lepší letoun i výzbroj. Šance na úspěch není velká, ale štěstí přeje "
      "odvážným.....",
  };
  return lines;
}

const std::vector<std::string>& BriefingLines(int mission) {
  static const std::array<std::vector<std::string>, 6> briefings = {{
      {
          "Mise číslo 1: Osvobození středozemí",
          "         Nejbližši velký svaz mimozemšťanů se usadil nad Středozemním mořem. Jeho "
          "stíhači hlídkují nad pobřežím od Gibraltaru až po Krétu a každý den přilétají "
          "nové vlny.",
          "Tyto jednotky brání velkou mateřskou lod, která řídí celý jejich svaz. Proleťte "
          "jejich obranou, sestřelte co nejvíc strojů a na konci trasy mateřskou loď zničte.",
          "Hodně štěstí, budete ho potřebovat.",
      },
      {
          "Mise číslo 2: Skandinávské dostaveníčko",
          "       Zničení mateřské lodi ve Středozemí vyvolalo mezi mimozemšťany poplach. Jejich "
          "severní svaz stahuje stroje z celé Evropy a chystá odvetu.",
          "Nad Skandinávkým masivem na Vás čekají rychlejší a lépe vyzbrojené stíhačky. Mezi "
          "horskými štíty a fjordy se skrývá druhá mateřská loď; najděte ji a sestřelte.",
          "Dávejte na sebe pozor.",
      },
      {
          "Mise číslo 3: Operace pouštní myš",
          "       Mimozemšťané již začali Vašemu počínání věnovat pozornost. Nad Saharou "
          "shromáždili těžké stroje, které vystřelují laserové paprsky a plasmové koule.",
          "Je nutné ji zničit dřív, než z pouště vyrazí na jih. Mateřská loď letí nízko nad "
          "dunami a chrání ji husté hlídky; držte se v pohybu a nenechte se zahnat do kouta.",
      },
      {
          "Mise číslo 4: Hra na piráty",
          "       Zprávy o Vašich úspěších se šíří mezi přeživšími a odboj sílí. Nepřítel proto "
          "přesunul část loďstva nad ostrovy Karibiku, odkud přepadá zásobovací konvoje.",
          "Teror v této oblasti musí skončit. Nad mořem se nemáte kde skrýt, takže spoléhejte na "
          "rychlost a palebnou sílu a zničte mateřskou loď, která útoky řídí.",
      },
      {
          "Mise číslo 5: Mimozemská horečka na Aljašce",
          "       Nepřítel je zatlačen na sever a jeho poslední velký svaz se opevnil mezi ledovci "
          "Aljašky. Jeho stroje jsou odolnější než kdy dřív a létají v početných formacích.",
          "Dříve než se mimozemšťané přeskupí, musíte proletět jejich obranou a zničit mateřskou "
          "loď. Bez ní zůstane celé severní křídlo nepřítele bez velení.",
      },
      {
          "Mise číslo 6: Finální úder",
          "       Mimozemšťané utrpěli velké ztráty a stáhli všechno, co jim zbylo, k poslední "
          "mateřské lodi. Je to jejich vlajková loď a řídí celou okupaci Země.",
          "Nad pouští Gobi Vás čeká nejtěžší boj celé války. Když vlajková loď padne, okupace "
          "skončí a lidstvo bude opět svobodné.",
          "Mějte smysly v pohotovosti.",
      },
  }};
  static const std::vector<std::string> none;
  if (mission < 0 || mission >= static_cast<int>(briefings.size())) return none;
  return briefings[static_cast<size_t>(mission)];
}
