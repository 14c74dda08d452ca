# The Google sync runs against the fake Google Calendar of the test support library.
if(TARGET larktestsupport)
    lark_add_bench(${b} LIBS larktestsupport)
else()
    message(STATUS "tests are off: bench_GoogleSync is not built")
endif()
