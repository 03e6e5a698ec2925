#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

// What the program says, in UTF-8, the same in every front end.
namespace Wording {

// The pattern with each "%" replaced by the next of the numbers.
std::string filled(const char* pattern, std::initializer_list<std::int64_t> numbers);

constexpr const char* Title = "Тарвик";
constexpr const char* CreditsCaption = "Авторы";
// Two parts joined by a line feed and a carriage return, in that order.
constexpr const char* CreditsText = "Тарвик, головоломка о ходе коня. Сделано командой Тарвика."
                                    "\n\r"
                                    "https://tarvik.example.org";
constexpr const char* ReportTitle = "Ошибка выполнения";
// What assistive technology calls the board and the menu bar.
constexpr const char* BoardName = "Доска";
constexpr const char* MenuBarName = "Меню";
constexpr const char* UnknownError = "неизвестная ошибка";

struct MenuItem {
    const char* name;
    const char* caption;
};
constexpr MenuItem File{"mnuFile", "Файл"};
constexpr MenuItem NewGame{"mnuNewGame", "Новая игра"};
constexpr MenuItem Exit{"mnuExit", "Выход"};
constexpr MenuItem Tasks{"mnuTasks", "Задачи"};
constexpr MenuItem MoveH{"mnuMoveH", "Ход конём"};
constexpr MenuItem AllBoard{"mnuAllBoard", "Обойти всю доску"};

// Why a picture could not be loaded; the front ends add reasons of their own.
namespace Reason {
constexpr const char* NotFound = "файл не найден";
constexpr const char* NoPermission = "нет прав на чтение файла";
constexpr const char* FolderNotEntered = "нет прав на вход в папку файла";
constexpr const char* CannotOpen = "файл не удалось открыть";
constexpr const char* DanglingLink = "символическая ссылка ведёт в никуда";
constexpr const char* Folder = "это папка, а не файл";
constexpr const char* NotRegular = "это не обычный файл";
constexpr const char* Unreadable = "файл не удалось прочитать";
constexpr const char* Empty = "файл пуст";
constexpr const char* NotBitmap = "это не рисунок BMP";
constexpr const char* Undecodable = "рисунок BMP не удалось разобрать";
constexpr const char* ServerUnreachable = "файл не удалось прочитать: сервер недоступен";
constexpr const char* ServerDidNotAnswer = "файл не удалось прочитать: сервер не ответил";

inline std::string serverAnswered(int status) {
    return filled("сервер ответил кодом %", {status});
}
inline std::string largerThan(std::int64_t bytes) {
    return filled("файл больше % байт", {bytes});
}
inline std::string pictureTooLarge(std::int64_t width, std::int64_t height) {
    return filled("слишком большой размер рисунка: % × %", {width, height});
}
inline std::string cutInHeader(std::int64_t bytes) {
    return filled("файл обрезан: в нём % байт, меньше заголовка", {bytes});
}
inline std::string cutShort(std::int64_t bytes, std::int64_t needed) {
    return filled("файл обрезан: в нём % байт из %", {bytes, needed});
}
inline std::string compressed(std::int64_t method) {
    return filled("сжатый BMP не поддерживается (способ сжатия %)", {method});
}

// What is wrong with a BMP header.
namespace Header {
inline std::string unknownKind(std::int64_t bytes) {
    return filled("заголовок BMP неверен: заголовок неизвестного вида, % байт", {bytes});
}
inline std::string size(std::int64_t width, std::int64_t height) {
    return filled("заголовок BMP неверен: недопустимый размер % × %", {width, height});
}
inline std::string depth(std::int64_t bitsPerPixel) {
    return filled("заголовок BMP неверен: недопустимая глубина цвета %", {bitsPerPixel});
}
inline std::string planes(std::int64_t count) {
    return filled("заголовок BMP неверен: плоскостей %, а не одна", {count});
}
inline std::string bitFields(std::int64_t bitsPerPixel) {
    return filled("заголовок BMP неверен: битовые маски при глубине цвета %", {bitsPerPixel});
}
inline std::string colourTable(std::int64_t entries) {
    return filled("заголовок BMP неверен: таблица из % цветов", {entries});
}
inline std::string pixelsInsideHeader(std::int64_t offset) {
    return filled("заголовок BMP неверен: точки рисунка начинаются внутри заголовка, со смещения %",
                  {offset});
}
} // namespace Header
} // namespace Reason

// The message of a picture that could not be loaded: the file's full path and why.
inline std::string pictureLoadFailure(const std::string& path, const std::string& reason) {
    return "Не удалось загрузить рисунок «" + path + "»: " + reason + ".";
}

} // namespace Wording
