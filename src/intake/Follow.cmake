# The log follower: the Qt layer that carries appended log bytes onto the main thread.
add_library(rovex_follow STATIC
  FollowFile.h FollowFile.cpp
  RXObserveFileLogs.h RXObserveFileLogs.cpp
  RXReadLog.h RXReadLog.cpp)
set_target_properties(rovex_follow PROPERTIES AUTOMOC ON)
target_link_libraries(rovex_follow PUBLIC rovex_common Qt6::Core)
