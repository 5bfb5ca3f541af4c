#pragma once

// Every text the editor shows, one block per screen, each a plain literal so that it can be
// marked for translation. "{}" stands for a value filled in where the text is shown.
namespace texts {

inline constexpr const char* kTitle = "Vorkalith — редактор уровней";

// The editing screen: the status line and the notices under it.
namespace edit {
inline constexpr const char* kKinds[7] = {"пол",       "стена",      "мина вверх", "мина вправо",
                                          "мина вниз", "мина влево", "корабль"};
inline constexpr const char* kNewLevel = "новый уровень";
inline constexpr const char* kLevel = "уровень {}";
inline constexpr const char* kCell = "({}, {}) {}";
inline constexpr const char* kBrush = "кисть: {}";
inline constexpr const char* kMines = "мин: {}";
inline constexpr const char* kCheckPassed = "проверка пройдена";
inline constexpr const char* kProblems = "Нарушений: {}";
inline constexpr const char* kHint = "F1 — клавиши, F5 — испытать";
inline constexpr const char* kProblemsHint = "наведите указатель на отмеченную клетку";
inline constexpr const char* kPathsShown = "Пути мин показаны (P — скрыть)";
inline constexpr const char* kSaved = "Сохранено: {}";
inline constexpr const char* kSaveFailed = "Не удалось сохранить: {}";
inline constexpr const char* kAutosaveFailed = "Автосохранение не удалось: {}";
inline constexpr const char* kOpenFailed = "Не удалось открыть {}: начат новый уровень";
inline constexpr const char* kRestored = "Восстановлена автосохранённая копия";
inline constexpr const char* kOutsideCleared = "Клетки за краем поля очищены (Ctrl+Z вернёт их)";
inline constexpr const char* kNothingToUndo = "Отменять нечего";
inline constexpr const char* kNothingToRedo = "Возвращать нечего";
inline constexpr const char* kPlayTestOver = "Испытание окончено";
inline constexpr const char* kLevelDone = "Уровень пройден!";
inline constexpr const char* kRecorded = "Испытание записано: {}";
inline constexpr const char* kRecordFailed = "Запись не удалась: {}";
inline constexpr const char* kPlayTestFailed = "Испытание не запустилось: {}";
} // namespace edit

// What was wrong with a damaged file that was opened as far as it could be read.
namespace notes {
inline constexpr const char* kShortFile = "Файл короче 352 байт ({} байт): остальное — пол";
inline constexpr const char* kLongFile = "Файл длиннее 352 байт ({} байт): лишнее пропущено";
inline constexpr const char* kUnknownCode = "Неизвестных кодов: {} (клетка ({}, {})) — пол";
inline constexpr const char* kShortLine = "Коротких строк: {} (первая — {}), дополнены полом";
inline constexpr const char* kLongLine = "Длинных строк: {} (первая — {}), хвост отброшен";
inline constexpr const char* kUnknownSymbol = "Неизвестных символов: {} (строка {}, столбец {}) — пол";
inline constexpr const char* kMissingLines = "Не хватает строк: {}, дополнены полом";
inline constexpr const char* kExtraLines = "Лишних строк: {}, отброшены";
} // namespace notes

// The one-line reason of each rule a level keeps, shown for the marked cell under the pointer.
namespace rules {
inline constexpr const char* kUnreachable = "Корабль сюда не доберётся: клетку отрезали стены";
inline constexpr const char* kNearStart = "Мина у старта корабля раньше 3 секунд (кадр {})";
inline constexpr const char* kRunsOff = "Мина уходит за край поля: нужна стена справа";
inline constexpr const char* kTooMany = "Мин больше 100 ({}): эта в игру не попадёт";
inline constexpr const char* kNoShip = "На поле нет корабля";
inline constexpr const char* kShips = "Кораблей {}: нужен ровно один";
inline constexpr const char* kUnknownCode = "В клетке неизвестный код";
inline constexpr const char* kOutside = "За краем поля что-то есть";
} // namespace rules

// The questions asked over the field.
namespace ask {
inline constexpr const char* kUnsaved = "Есть несохранённые изменения.";
inline constexpr const char* kUnsavedKeys = "Enter — сохранить и выйти, N — выйти без сохранения, Esc — остаться";
inline constexpr const char* kFailsCheck = "Уровень не прошёл проверку:";
inline constexpr const char* kFailsCheckKeys = "Enter — всё равно сохранить, Esc — отмена";
inline constexpr const char* kAutosave = "Найдена автосохранённая копия с несохранёнными изменениями.";
inline constexpr const char* kAutosaveKeys = "Enter — восстановить её, Esc — открыть файл как есть";
} // namespace ask

// The Save As screen.
namespace saveas {
inline constexpr const char* kHeading = "Сохранить как";
inline constexpr const char* kFolder = "Папка: {}";
inline constexpr const char* kNumber = "Номер уровня: {} (Tab, Shift+Tab)";
inline constexpr const char* kFiles = "Будут записаны {}.vrk и {}.txt";
inline constexpr const char* kPack = "Папку с уровнями 1–24 играет vorkalith --levels ПАПКА";
inline constexpr const char* kKeys = "Enter — сохранить, Esc — отмена";
} // namespace saveas

// The help screen.
namespace help {
inline constexpr const char* kLines[] = {
    "Клавиши редактора",
    "Левая кнопка рисует, правая стирает, протяжка рисует линию",
    "Shift+протяжка — рамка, Ctrl+Shift+протяжка — прямоугольник",
    "Ctrl+протяжка — прямая линия",
    "1–7 — пол, стена, мины вверх, вправо, вниз, влево, корабль",
    "Стрелки — курсор, Пробел — поставить, Delete — стереть",
    "Tab, Shift+Tab — номер уровня и его набор плиток",
    "P — пути всех мин, F5 — испытать уровень (Esc — назад)",
    "Ctrl+Z, Ctrl+Y — отменить, вернуть",
    "Ctrl+S — сохранить, Ctrl+Shift+S — сохранить как",
    "Alt+Enter, F11 — окно или весь экран, Esc — выход",
};
} // namespace help

} // namespace texts
