#pragma once

#include <cstdint>
#include <string>

// What the program says, in UTF-8, the same in every front end.
namespace Wording {

constexpr const char* Title = "Тарвик";
constexpr const char* CreditsCaption = "Авторы";
// Two parts joined by a line feed and a carriage return, in that order.
constexpr const char* CreditsText = "Тарвик, головоломка о ходе коня. Сделано командой Тарвика."
                                    "\n\r"
                                    "https://tarvik.example.org";
constexpr const char* ReportTitle = "Ошибка выполнения";
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
constexpr const char* Unreadable = "файл не удалось прочитать";
constexpr const char* Empty = "файл пуст";
constexpr const char* NotBitmap = "это не рисунок BMP";
constexpr const char* Undecodable = "рисунок BMP не удалось разобрать";

inline std::string largerThan(std::int64_t bytes) {
    return "файл больше " + std::to_string(bytes) + " байт";
}
inline std::string pictureTooLarge(std::int64_t width, std::int64_t height) {
    return "слишком большой размер рисунка: " + std::to_string(width) + " × " +
           std::to_string(height);
}
} // namespace Reason

// The message of a picture that could not be loaded: the file's full path and why.
inline std::string pictureLoadFailure(const std::string& path, const std::string& reason) {
    return "Не удалось загрузить рисунок «" + path + "»: " + reason + ".";
}

} // namespace Wording
