#include "app/Gateway.h"

#include <ctime>

const char* const DefaultGatewayHost = "sms.orbicel.by";

std::string GatewayUrl(const std::string& host, const std::string& number, const std::string& encodedMessage,
                       int year) {
    return "http://" + host + "/cgi-bin/cgi.exe?function=sms_send&MMObjectType=0&MMObjectID=&To=37529" + number +
           "&Msg=" + encodedMessage + "&Hour=00&Min=00&Day=5&Mon=5&Year=" + std::to_string(year) + "&Lang=2";
}

int GatewayYear() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return local.tm_year + 1900 + 1;
}
