#!/bin/sh
# Makes the IPTC, GPS and TIFF test inputs with ImageMagick and exiftool (run
# once; the results are committed).
set -e
cd "$(dirname "$0")/.."
convert=/usr/bin/convert
base=makernotes/grey.jpg
et="exiftool -q -overwrite_original"

# IPTC as UTF-8 (with the coded character set).
cp $base iptc/iptc-utf8.jpg
$et -charset iptc=UTF8 -IPTC:CodedCharacterSet=UTF8 -IPTC:ObjectName="Hafen am Abend" \
  -IPTC:Keywords=Hafen -IPTC:Keywords=Elbe -IPTC:Keywords="Möwe" \
  -IPTC:SupplementalCategories=Reise -IPTC:SupplementalCategories=Sommer \
  -IPTC:By-line="Anna Beispiel" -IPTC:City=Hamburg -IPTC:Country-PrimaryLocationName=Deutschland \
  -IPTC:Caption-Abstract="Blick über die Elbe" -IPTC:CopyrightNotice="© 2023 Anna Beispiel" \
  -IPTC:DateCreated=2023:06:14 -IPTC:TimeCreated=21:05:07+02:00 -IPTC:Urgency=5 iptc/iptc-utf8.jpg

# GPS beside a few EXIF tags.
cp $base iptc/gps.jpg
$et -Make=Testkamera -Model="Modell 1" -FNumber=5.6 -GPSVersionID=2.2.0.0 \
  -GPSLatitude=53.5461 -GPSLatitudeRef=N -GPSLongitude=9.9661 -GPSLongitudeRef=E \
  -GPSAltitude=12.5 -GPSAltitudeRef=0 -GPSTimeStamp=19:05:07 -GPSDateStamp=2023:06:14 \
  -GPSMapDatum=WGS-84 -GPSImgDirection=270.5 -GPSImgDirectionRef=T iptc/gps.jpg

# TIFF files in both byte orders, with EXIF and GPS directories.
$convert -size 6x4 gradient:red-blue -depth 8 -compress none -define tiff:endian=lsb tiff/le.tif
$convert -size 6x4 gradient:red-blue -depth 8 -compress none -define tiff:endian=msb tiff/be.tif
for f in tiff/le.tif tiff/be.tif; do
  $et -Make=Testkamera -Model="TIFF Modell" -DateTimeOriginal="2022:12:24 18:30:00" \
    -ExposureTime=1/125 -FNumber=8 -FocalLength=35 -Artist="Anna Beispiel" \
    -GPSLatitude=47.3769 -GPSLatitudeRef=N -GPSLongitude=8.5417 -GPSLongitudeRef=E "$f"
done
