Aperture  Type       Width  Height
D10       ROUND      10     10
D11       SQUARE     60     60
D12       RECTANGLE  60     30
D13       OBLONG     80     40
