// The main window's menu: its items, their command ids and how each item's check mark is kept.
#pragma once

#include <array>
#include <string_view>

namespace zel {

// Command ids, shared by the menu and the view's handlers.
enum class Command {
  kSave = 57603,
  kLoad = 32777,
  kNewGame = 32785,
  kBlackComputer = 32779,  // "B: Cmp  W: Man"
  kWhiteComputer = 32778,  // "B: Man  W: Cmp"
  kBothMan = 32780,        // "B: Man  W: Man"
  kBeginner = 32781,
  kLevel1 = 32793,
  kLevel2 = 32771,
  kLevel3 = 32772,
  kLevel4 = 32773,
  kAdvanced = 32774,
  kNext = 32789,
  kWide = 32792,
  kMisete = 32795,
  kNorite = 32796,
  kNon34 = 32799,
  kRandom = 32797,
  kTraceOnOff = 32782,
  kTraceSaveFull = 32776,
  kTraceSaveShort = 32798,
  kTraceLoad = 32786,
  kDebug = 32790,
  kGoo = 32791,
  kForbiddenPoints = 32800,
  kAbout = 57664,
  kBack = 33001,
  kForward = 33002,
  kHome = 33003,
  kEnd = 33004,
  kStoneNumbers = 33005,
  kCopyPosition = 33006,
  kPastePosition = 33007,
  kHint = 33008,
  kOpenPsq = 33009,
  kSavePsq = 33010,
  kLiveAnalysis = 33041,
  kShowVariation = 33042,
  kRenjuLabels = 33043,
  kSidePanel = 33044,
  kFree = 33045,  // the opening rule of new games
  kRif = 33046,
  kSoosorv8 = 33047,
  kTaraguchi10 = 33048,
  kTime1 = 33011,  // the strong engine's time a move ("Advanced"), in seconds
  kTime2 = 33012,
  kTime5 = 33015,
  kTime10 = 33020,
  kTime30 = 33040,
};

inline constexpr bool kCheckable = true;
inline constexpr bool kPlain = false;

struct MenuItem {
  std::string_view menu;   // the top-level menu it belongs to
  std::string_view label;  // empty for a separator
  Command command = Command::kSave;
  bool checkable = false;  // its check mark shows the view's state (CZelView::IsChecked), or the
                           // window's for the side panel
  std::string_view prompt = {};    // shown in the status bar while the item is highlighted
  std::string_view shortcut = {};  // its key, in QKeySequence's portable text
};

// The menu bar, top-level menus in order, each menu's items top to bottom.
inline constexpr std::array kMenuItems{
    MenuItem{"File", "Save", Command::kSave, kPlain, "作業中のﾌｧｲﾙを上書きして保存"},
    MenuItem{"File", "Load", Command::kLoad},
    MenuItem{"File", ""},
    MenuItem{"File", "Open .psq...", Command::kOpenPsq, kPlain, "Opens a Piskvork record"},
    MenuItem{"File", "Save .psq As...", Command::kSavePsq, kPlain,
             "Saves the moves on the board as a Piskvork record"},
    MenuItem{"Game", "New Game", Command::kNewGame},
    MenuItem{"Game", ""},
    MenuItem{"Game", "B: Cmp  W: Man", Command::kBlackComputer, kCheckable},
    MenuItem{"Game", "B: Man  W: Cmp", Command::kWhiteComputer, kCheckable},
    MenuItem{"Game", "B: Man  W: Man", Command::kBothMan, kCheckable},
    MenuItem{"Game", ""},
    MenuItem{"Game", "Beginner", Command::kBeginner, kCheckable},
    MenuItem{"Game", "Level 1", Command::kLevel1, kCheckable},
    MenuItem{"Game", "Level 2", Command::kLevel2, kCheckable},
    MenuItem{"Game", "Level 3", Command::kLevel3, kCheckable},
    MenuItem{"Game", "Level 4", Command::kLevel4, kCheckable},
    MenuItem{"Game", "Advanced", Command::kAdvanced, kCheckable},
    MenuItem{"Game", ""},
    MenuItem{"Game", "Free", Command::kFree, kCheckable, "New games start without an opening rule"},
    MenuItem{"Game", "RIF", Command::kRif, kCheckable, "New games start with the RIF opening"},
    MenuItem{"Game", "Soosõrv-8", Command::kSoosorv8, kCheckable,
             "New games start with the Soosõrv-8 opening"},
    MenuItem{"Game", "Taraguchi-10", Command::kTaraguchi10, kCheckable,
             "New games start with the Taraguchi-10 opening"},
    MenuItem{"Think", "Next", Command::kNext},
    MenuItem{"Think", ""},
    MenuItem{"Think", "Wide", Command::kWide},
    MenuItem{"Think", "Misete", Command::kMisete},
    MenuItem{"Think", "Norite", Command::kNorite},
    MenuItem{"Think", "Non 3/4", Command::kNon34, kCheckable},
    MenuItem{"Think", ""},
    MenuItem{"Think", "Random", Command::kRandom, kCheckable},
    MenuItem{"Trace", "On / Off", Command::kTraceOnOff, kCheckable},
    MenuItem{"Trace", ""},
    MenuItem{"Trace", "Save full", Command::kTraceSaveFull},
    MenuItem{"Trace", "Save short", Command::kTraceSaveShort},
    MenuItem{"Trace", "Load", Command::kTraceLoad},
    MenuItem{"Number", "Debug", Command::kDebug, kCheckable},
    MenuItem{"Number", "Goo", Command::kGoo, kCheckable},
    MenuItem{"Number", ""},
    MenuItem{"Number", "Forbidden Points", Command::kForbiddenPoints, kCheckable},
    MenuItem{"Analysis", "Back", Command::kBack, kPlain, "Takes the last move back", "Left"},
    MenuItem{"Analysis", "Forward", Command::kForward, kPlain, "Plays the move taken back again",
             "Right"},
    MenuItem{"Analysis", "To Start", Command::kHome, kPlain, "Goes to the first move", "Home"},
    MenuItem{"Analysis", "To End", Command::kEnd, kPlain, "Goes to the last move played", "End"},
    MenuItem{"Analysis", ""},
    MenuItem{"Analysis", "Hint", Command::kHint, kPlain,
             "Marks the computer's move for the side to move, without playing it", "Ctrl+H"},
    MenuItem{"Analysis", "Live Analysis", Command::kLiveAnalysis, kCheckable,
             "Shows the strong engine's analysis of the position in a side panel", "F5"},
    MenuItem{"Analysis", "Show Variation", Command::kShowVariation, kCheckable,
             "Draws the live analysis's line on the board as numbered ghost stones", "F7"},
    MenuItem{"Analysis", "Stone Numbers", Command::kStoneNumbers, kCheckable,
             "Writes each stone's move number on it"},
    MenuItem{"Analysis", "Renju Labels", Command::kRenjuLabels, kCheckable,
             "Labels the board a to o from the left and 1 to 15 from the bottom"},
    MenuItem{"Analysis", ""},
    MenuItem{"Analysis", "Copy Position", Command::kCopyPosition, kPlain,
             "Copies the moves on the board as text, h8 the centre", "Ctrl+Shift+C"},
    MenuItem{"Analysis", "Paste Position", Command::kPastePosition, kPlain,
             "Sets up the game of the moves on the clipboard", "Ctrl+Shift+V"},
    MenuItem{"Analysis", ""},
    MenuItem{"Analysis", "Advanced: 1 s", Command::kTime1, kCheckable},
    MenuItem{"Analysis", "Advanced: 2 s", Command::kTime2, kCheckable},
    MenuItem{"Analysis", "Advanced: 5 s", Command::kTime5, kCheckable},
    MenuItem{"Analysis", "Advanced: 10 s", Command::kTime10, kCheckable},
    MenuItem{"Analysis", "Advanced: 30 s", Command::kTime30, kCheckable},
    MenuItem{"Analysis", ""},
    MenuItem{"Analysis", "Side Panel", Command::kSidePanel, kCheckable,
             "Shows or hides the panel of these commands and the live analysis", "F6"},
    MenuItem{"About", "About Zel...", Command::kAbout, false,
             "ﾌﾟﾛｸﾞﾗﾑの情報、ﾊﾞｰｼﾞｮﾝそして著作権を表示"},
};

}  // namespace zel
