# The rescaling arithmetic (also in the host build).
bramix_test(dialogs_scale_test SOURCES dialogs_scale_test.cpp)
