# The sync engine runs against the in-memory source of the test support library.
if(TARGET larktestsupport)
    lark_add_bench(${b} LIBS larktestsupport)
else()
    message(STATUS "tests are off: bench_SyncEngine is not built")
endif()
