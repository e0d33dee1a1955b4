# The version of the build machine's nlohmann-json (its check does not depend
# on the target's pointer size).
include(/usr/share/cmake/nlohmann_json/nlohmann_jsonConfigVersion.cmake)
