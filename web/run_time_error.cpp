#include "run_time_error.h"

#include "page.h"
#include "wording.h"

#include <exception>
#include <string>

namespace {

std::string currentErrorMessage() {
    try {
        throw;
    } catch (const std::exception& error) {
        return error.what();
    } catch (...) {
        return Wording::UnknownError;
    }
}

} // namespace

void endWithRunTimeError() {
    tarvik_report(Wording::ReportTitle, currentErrorMessage().c_str());
    tarvik_end_program();
}
