#include "phonation/time_text.h"

#include <cmath>
#include <cstdio>

namespace phonation {

TimeParts splitTime(uint32_t ms) {
    TimeParts parts;
    parts.minutes = static_cast<int32_t>(ms / 60000u);
    parts.seconds = static_cast<int32_t>((ms / 1000u) % 60u);
    const unsigned hundredths = (ms % 1000u) / 10u;
    parts.fraction[0] = static_cast<char>('0' + hundredths / 10u);
    parts.fraction[1] = static_cast<char>('0' + hundredths % 10u);
    parts.fraction[2] = '\0';
    return parts;
}

TimeParts splitTime(float elapsedMs) {
    if (!std::isfinite(elapsedMs) || elapsedMs <= 0.0f) return splitTime(0u);
    if (elapsedMs >= 4294967295.0f) return splitTime(4294967295u);
    return splitTime(static_cast<uint32_t>(elapsedMs));
}

std::string timeText(const TimeParts& parts) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%s", static_cast<int>(parts.minutes),
                  static_cast<int>(parts.seconds), parts.fraction);
    return text;
}

std::string confirmationQuestion(const std::string& time) {
    return "Tempo Obtido: " + time + "\nConfirma este Tempo?";
}

}  // namespace phonation
