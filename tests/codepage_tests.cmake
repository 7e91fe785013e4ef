# The text-setting check: its decision against a recording stand-in of the system.
muezzin_add_test(tst_codepagecheck muezzin_app)
