# Makes a PDF from cairo (rsvg-convert) readable for groff's PDF writer:
# cairo puts a comment into each page's dictionary ("/Type /Page % 1"), which
# gropdf takes for a key. Blanks of the same length keep every offset right.
# Usage: perl pdf_for_gropdf.pl IN.pdf OUT.pdf
use strict;
use warnings;

my ($in, $out) = @ARGV;
open(my $source, '<:raw', $in) or die "cannot read $in: $!\n";
my $pdf = do { local $/; <$source> };
close($source);
$pdf =~ s{(/Type /Page )(% \d+)}{$1 . (' ' x length($2))}ge;
open(my $target, '>:raw', $out) or die "cannot write $out: $!\n";
print {$target} $pdf;
close($target) or die "cannot write $out: $!\n";
