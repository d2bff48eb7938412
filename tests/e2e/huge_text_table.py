#!/usr/bin/env python3
# huge_text_table.py: a table (UTF-8, as fxt reads it) whose key HUGE has an
# English text of 5 MB, far more than Parlyte shows of a text, that ends
# with "needle", and a key SMALL before it.
import sys

sys.stdout.write("key\tEnglish\tFrench\tGerman\tItalian\n")
sys.stdout.write("SMALL\tsmall\t\\N\t\\N\t\\N\n")
sys.stdout.write("HUGE\t" + "words " * 833333 + "needle\t\\N\t\\N\t\\N\n")
