#pragma once

#include "platform/base/Translate.h"

// Every text the editor shows, one block per screen, each a plain literal marked for translation
// and translated with Tr where it is shown. "{}" stands for a value filled in there.
namespace texts {

inline constexpr const char* kTitle = N_("Vorkalith — редактор уровней");

// The editing screen: the status line and the notices under it.
namespace edit {
inline constexpr const char* kKinds[7] = {N_("пол"),       N_("стена"),      N_("мина вверх"), N_("мина вправо"),
                                          N_("мина вниз"), N_("мина влево"), N_("корабль")};
inline constexpr const char* kNewLevel = N_("новый уровень");
inline constexpr const char* kLevel = N_("уровень {}");
inline constexpr const char* kCell = N_("({}, {}) {}");
inline constexpr const char* kBrush = N_("кисть: {}");
inline constexpr const char* kMines = N_("мин: {}");
inline constexpr const char* kCheckPassed = N_("проверка пройдена");
inline constexpr const char* kProblems = N_("Нарушений: {}");
inline constexpr const char* kHint = N_("F1 — клавиши, F5 — испытать");
inline constexpr const char* kProblemsHint = N_("наведите указатель на отмеченную клетку");
inline constexpr const char* kPathsShown = N_("Пути мин показаны (P — скрыть)");
inline constexpr const char* kSaved = N_("Сохранено: {}");
inline constexpr const char* kSaveFailed = N_("Не удалось сохранить: {}");
inline constexpr const char* kAutosaveFailed = N_("Автосохранение не удалось: {}");
inline constexpr const char* kOpenFailed = N_("Не удалось открыть {}: начат новый уровень");
inline constexpr const char* kRestored = N_("Восстановлена автосохранённая копия");
inline constexpr const char* kOutsideCleared = N_("Клетки за краем поля очищены (Ctrl+Z вернёт их)");
inline constexpr const char* kNothingToUndo = N_("Отменять нечего");
inline constexpr const char* kNothingToRedo = N_("Возвращать нечего");
inline constexpr const char* kPlayTestOver = N_("Испытание окончено");
inline constexpr const char* kLevelDone = N_("Уровень пройден!");
inline constexpr const char* kRecorded = N_("Испытание записано: {}");
inline constexpr const char* kRecordFailed = N_("Запись не удалась: {}");
inline constexpr const char* kPlayTestFailed = N_("Испытание не запустилось: {}");
} // namespace edit

// What was wrong with a damaged file that was opened as far as it could be read.
namespace notes {
inline constexpr const char* kShortFile = N_("Файл короче 352 байт ({} байт): остальное — пол");
inline constexpr const char* kLongFile = N_("Файл длиннее 352 байт ({} байт): лишнее пропущено");
inline constexpr const char* kUnknownCode = N_("Неизвестных кодов: {} (клетка ({}, {})) — пол");
inline constexpr const char* kShortLine = N_("Коротких строк: {} (первая — {}), дополнены полом");
inline constexpr const char* kLongLine = N_("Длинных строк: {} (первая — {}), хвост отброшен");
inline constexpr const char* kUnknownSymbol = N_("Неизвестных символов: {} (строка {}, столбец {}) — пол");
inline constexpr const char* kMissingLines = N_("Не хватает строк: {}, дополнены полом");
inline constexpr const char* kExtraLines = N_("Лишних строк: {}, отброшены");
} // namespace notes

// The one-line reason of each rule a level keeps, shown for the marked cell under the pointer.
namespace rules {
inline constexpr const char* kUnreachable = N_("Корабль сюда не доберётся: клетку отрезали стены");
inline constexpr const char* kNearStart = N_("Мина у старта корабля раньше 3 секунд (кадр {})");
inline constexpr const char* kRunsOff = N_("Мина уходит за край поля: нужна стена справа");
inline constexpr const char* kTooMany = N_("Мин больше 100 ({}): эта в игру не попадёт");
inline constexpr const char* kNoShip = N_("На поле нет корабля");
inline constexpr const char* kShips = N_("Кораблей {}: нужен ровно один");
inline constexpr const char* kUnknownCode = N_("В клетке неизвестный код");
inline constexpr const char* kOutside = N_("За краем поля что-то есть");
} // namespace rules

// The questions asked over the field.
namespace ask {
inline constexpr const char* kUnsaved = N_("Есть несохранённые изменения.");
inline constexpr const char* kUnsavedKeys = N_("Enter — сохранить и выйти, N — выйти без сохранения, Esc — остаться");
inline constexpr const char* kFailsCheck = N_("Уровень не прошёл проверку:");
inline constexpr const char* kFailsCheckKeys = N_("Enter — всё равно сохранить, Esc — отмена");
inline constexpr const char* kAutosave = N_("Найдена автосохранённая копия с несохранёнными изменениями.");
inline constexpr const char* kAutosaveKeys = N_("Enter — восстановить её, Esc — открыть файл как есть");
} // namespace ask

// The Save As screen.
namespace saveas {
inline constexpr const char* kHeading = N_("Сохранить как");
inline constexpr const char* kFolder = N_("Папка: {}");
inline constexpr const char* kNumber = N_("Номер уровня: {} (Tab, Shift+Tab)");
inline constexpr const char* kFiles = N_("Будут записаны {}.vrk и {}.txt");
inline constexpr const char* kPack = N_("Папку с уровнями 1–24 играет vorkalith --levels ПАПКА");
inline constexpr const char* kKeys = N_("Enter — сохранить, Esc — отмена");
} // namespace saveas

// The help screen.
namespace help {
inline constexpr const char* kLines[] = {
    N_("Клавиши редактора"),
    N_("Левая кнопка рисует, правая стирает, протяжка рисует линию"),
    N_("Shift+протяжка — рамка, Ctrl+Shift+протяжка — прямоугольник"),
    N_("Ctrl+протяжка — прямая линия"),
    N_("1–7 — пол, стена, мины вверх, вправо, вниз, влево, корабль"),
    N_("Стрелки — курсор, Пробел — поставить, Delete — стереть"),
    N_("Tab, Shift+Tab — номер уровня и его набор плиток"),
    N_("P — пути всех мин, F5 — испытать уровень (Esc — назад)"),
    N_("Ctrl+Z, Ctrl+Y — отменить, вернуть"),
    N_("Ctrl+S — сохранить, Ctrl+Shift+S — сохранить как"),
    N_("Alt+Enter, F11 — окно или весь экран, Esc — выход"),
};
} // namespace help

} // namespace texts
