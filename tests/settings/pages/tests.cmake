# The Options, Settings and Report pages: their decisions, and the pages
# themselves in Kestrum's sheet made in-process from Kestrum's resources.
kestrum_test(pages kestrum_test_shell_kit)
# Kestrum's resources and the help viewer's stand-in travel beside the test (tests/shell makes them).
add_dependencies(pages helper_kestrum helper_peghelp)
